#pragma once
// Tank procedures: the tank-shape calibration (how the level-sensor reading maps
// to content, learnt while the tank is sprayed empty), the tank content from the
// level sensor, the automatic filling and the ShapeCal.ini file through which a
// shape calibration is saved, exported and imported. Both procedures advance one
// step per event in the GUI thread.
#include <cstdint>
#include <string>

enum : uint32_t {
    TANK_TABLE_ENTRIES = 201,
    TANK_MAX_STEPS = 200,
    // tankShapeCalLoad commands.
    TANK_SHAPE_FILE_PARSE = 342,
    TANK_SHAPE_FILE_WRITE = 343,
    TANK_SHAPE_FILE_REWRITE = 344,
};

// Entry i: time in 250 ms units at which the level fell below step i; entry
// DS_TANK_CAL_STEPS is 0 (full tank). Stored as the block DS_TANK_SHAPE_TABLE.
struct TankShapeTable {
    uint16_t entry[TANK_TABLE_ENTRIES];
};

// Entry i = 200 - i: a tank of constant cross-section.
void tankShapeTableDefault(TankShapeTable* table);

// At process start: a new store gets the default table, else the table is read
// from the store; both procedures are reset.
void tankProceduresInit(uint32_t newStore);
// From the dispatcher's common tail, with a tank or fill-flow sensor.
void tankProceduresHandleEvent(uint32_t id);
void tankShapeCalStep(uint32_t id, uint32_t reset);
void tankFillingStep(uint32_t id, uint32_t reset);
// Procedure states, for the pages and tests: shape calibration 0..5, filling 0..4.
uint32_t tankShapeCalState();
uint32_t tankFillingState();

// Tank content (content unit of DS_TANK_MAX_CONTENT) from the level sensor,
// through a 16-sample moving average.
uint16_t tankContentFromLevel();
// The same for an already filtered reading.
uint16_t tankContentForReading(uint32_t reading);

// ShapeCal.ini below the storage base.
std::string tankShapeCalPath();
// 342 parse the file into the store, 343 write it from the store, 344 delete
// and write it: 1 for success, 0 for failure or another command.
uint32_t tankShapeCalLoad(uint32_t command);
