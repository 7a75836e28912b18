#include "regulationrows.h"

#include "datastore.h"
#include "kestrompushbutton.h"
#include "pagevalues.h"

#include <QIcon>

namespace ToolsViewWidgets {
namespace RegulationRows {

double tenths(uint32_t item)
{
    return datastoreGetUint16(item) / 10.0;
}

uint32_t tenthsFromEntry(double entry)
{
    const int32_t value = PageValues::displayInteger(entry, 10);
    return value < 0 ? 0u : static_cast<uint32_t>(value);
}

uint32_t tenthsFromEntryRounded(double entry)
{
    const int32_t value = PageValues::displayIntegerRounded(entry, 10);
    return value < 0 ? 0u : static_cast<uint32_t>(value);
}

uint32_t wholeFromEntry(double entry)
{
    const int32_t value = PageValues::displayInteger(entry, 1);
    return value < 0 ? 0u : static_cast<uint32_t>(value);
}

void removeIcon(KestromPushButton* label)
{
    // The icon size stays (it sets the row height); the label shows its text only.
    label->setIcon(QIcon());
}

}  // namespace RegulationRows
}  // namespace ToolsViewWidgets
