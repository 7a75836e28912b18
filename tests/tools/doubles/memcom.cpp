// The drivers' in-memory serial port, for the service programs' protocol tests.
#include "../../drivers/doubles/memcom.cpp"
