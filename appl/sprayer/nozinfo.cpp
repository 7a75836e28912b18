#include "nozinfo.h"

#include "filefunc.h"
#include "noztables.h"
#include "storage.h"
#include "toolsmisc.h"

#include <QSettings>
#include <QStringList>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

constexpr char kCustomGroup[] = "noz_custom";
constexpr char kRefPress[] = "ref_press";
constexpr char kRefFlow[] = "ref_flow";
constexpr char kMinPress[] = "min_press";
constexpr char kMaxPress[] = "max_press";
constexpr uint32_t kStateBuiltIn = 0;

struct ReferenceEntry {
    uint16_t refPressure;
    uint32_t refFlow;
    uint16_t minPressure;
    uint16_t maxPressure;
    uint32_t state;  // 0 built in, 200/276 converted to that pressure, 277 custom
};

std::vector<ReferenceEntry> gEntries;
uint32_t gReferenceMode = 0;

const NozzleSize* sizeOf(uint32_t t, uint32_t j)
{
    const NozzleType* type = nozzleType(t);
    return (type != nullptr && j < type->sizeCount) ? &type->sizes[j] : nullptr;
}

const NozzleCatalogueRecord* catalogueOf(uint32_t t, uint32_t j)
{
    const NozzleSize* size = sizeOf(t, j);
    if (size == nullptr || !size->fromCatalogue)
        return nullptr;
    return nozzleCatalogueRecord(nozzleFamilyFirstRecord(nozzleTypeFamily(t)) + j);
}

uint32_t categoryCount(const NozzleSize* size)
{
    return static_cast<uint32_t>(std::strlen(size->categories));
}

uint32_t scaled(float value, float factor)
{
    return static_cast<uint32_t>(value * factor + 0.5f);
}

uint32_t modePressure()
{
    return gReferenceMode ? NOZINFO_REF_PRESSURE_IMPERIAL : NOZINFO_REF_PRESSURE_METRIC;
}

ReferenceEntry builtInEntry(uint32_t t, uint32_t j)
{
    ReferenceEntry entry{};
    if (const NozzleCatalogueRecord* record = catalogueOf(t, j)) {
        entry.refPressure = static_cast<uint16_t>(scaled(record->refPressure, 100.0f));
        entry.refFlow = scaled(record->refFlow, 1000.0f);
        entry.minPressure = static_cast<uint16_t>(scaled(record->minPressure, 100.0f));
        entry.maxPressure = static_cast<uint16_t>(scaled(record->maxPressure, 100.0f));
    } else {
        const NozzleSize* size = sizeOf(t, j);
        const uint32_t steps = categoryCount(size);
        entry.refPressure = size->refPressure;
        entry.refFlow = size->refFlow;
        entry.minPressure = size->firstPressure;
        entry.maxPressure = static_cast<uint16_t>(size->firstPressure + size->stepPressure * (steps > 0 ? steps - 1 : 0));
    }
    entry.state = kStateBuiltIn;
    return entry;
}

ReferenceEntry* entryOf(uint32_t t, uint32_t j)
{
    if (sizeOf(t, j) == nullptr || gEntries.empty())
        return nullptr;
    return &gEntries[nozzleType(t)->base + j];
}

void rebuildTable()
{
    gEntries.assign(nozzleReferenceCount(), ReferenceEntry{});
    for (uint32_t t = 0; t < NOZZLE_TYPE_COUNT; ++t) {
        for (uint32_t j = 0; j < nozzleType(t)->sizeCount; ++j)
            gEntries[nozzleType(t)->base + j] = builtInEntry(t, j);
    }
}

// A built-in entry takes the reference pressure of the current mode. The flow is
// converted from the built-in data, so that switching modes back and forth never
// lets it drift; custom entries keep their values.
void bringToMode(uint32_t t, uint32_t j, ReferenceEntry* entry)
{
    const uint32_t pressure = modePressure();
    if (entry->state == NOZINFO_STATE_CUSTOM || entry->refPressure == pressure)
        return;
    const ReferenceEntry built = builtInEntry(t, j);
    entry->refFlow = nozinfoFlowAtPressure(pressure, built.refPressure, built.refFlow);
    entry->refPressure = static_cast<uint16_t>(pressure);
    entry->state = pressure;
}

QString customKey(uint32_t t, uint32_t j, const char* name)
{
    return QString("%1/%2/%3/%4").arg(kCustomGroup).arg(t).arg(j).arg(name);
}

void writeCustom(uint32_t t, uint32_t j, std::initializer_list<std::pair<const char*, uint32_t>> values)
{
    makeDirs(pathJoin(clShareDir(), "config"));
    QSettings settings(QString::fromStdString(nozinfoCustomFilePath()), QSettings::IniFormat);
    for (const auto& value : values)
        settings.setValue(customKey(t, j, value.first), value.second);
    settings.sync();
}

void applyCustom(ReferenceEntry* entry, const QString& name, uint32_t value)
{
    // Pressures are 16-bit in the table: a larger one is not a pressure.
    const bool pressure = name != kRefFlow;
    if (pressure && value > UINT16_MAX)
        return;
    if (name == kRefPress) {
        entry->refPressure = static_cast<uint16_t>(value);
        entry->state = NOZINFO_STATE_CUSTOM;
    } else if (name == kRefFlow) {
        entry->refFlow = value;
        entry->state = NOZINFO_STATE_CUSTOM;
    } else if (name == kMinPress) {
        entry->minPressure = static_cast<uint16_t>(value);
    } else if (name == kMaxPress) {
        entry->maxPressure = static_cast<uint16_t>(value);
    }
}

void readCustom()
{
    QSettings settings(QString::fromStdString(nozinfoCustomFilePath()), QSettings::IniFormat);
    settings.beginGroup(kCustomGroup);
    for (const QString& key : settings.allKeys()) {
        const QStringList parts = key.split('/');
        if (parts.size() != 3)
            continue;
        bool typeOk = false;
        bool sizeOk = false;
        bool valueOk = false;
        const uint32_t t = parts[0].toUInt(&typeOk);
        const uint32_t j = parts[1].toUInt(&sizeOk);
        const uint32_t value = settings.value(key).toString().toUInt(&valueOk);
        ReferenceEntry* entry = (typeOk && sizeOk) ? entryOf(t, j) : nullptr;
        if (entry != nullptr && valueOk)
            applyCustom(entry, parts[2], value);
    }
}

}  // namespace

std::string nozinfoCustomFilePath()
{
    return pathJoin(clShareDir(), "config", "nozinfo.ini");
}

uint32_t nozinfoInit(uint32_t reset)
{
    const bool directory = makeDirs(pathJoin(clShareDir(), "config"));
    if (reset)
        nozinfoClearCustom();
    rebuildTable();
    readCustom();
    return directory ? 1 : 0;
}

void nozinfoSetReferenceMode(uint32_t mode)
{
    if (mode < 2)
        gReferenceMode = mode;
}

uint32_t nozinfoGetReferenceMode()
{
    return gReferenceMode;
}

uint32_t nozinfoSizeCount(uint32_t t)
{
    const NozzleType* type = nozzleType(t);
    return type != nullptr ? type->sizeCount : 0;
}

const char* nozinfoSizeName(uint32_t t, uint32_t j)
{
    const NozzleSize* size = sizeOf(t, j);
    return size != nullptr ? size->name : "";
}

uint32_t nozinfoSizeCode(uint32_t t, uint32_t j)
{
    const NozzleSize* size = sizeOf(t, j);
    return size != nullptr ? size->sizeCode : 0;
}

uint32_t nozinfoRefPressure(uint32_t t, uint32_t j, uint32_t flags)
{
    ReferenceEntry* entry = entryOf(t, j);
    if (entry == nullptr)
        return 0;
    if (flags & NOZINFO_FLAG_STATIC)
        return modePressure();
    bringToMode(t, j, entry);
    return entry->refPressure;
}

uint32_t nozinfoSystemRefFlow(uint32_t t, uint32_t j, uint32_t flags)
{
    ReferenceEntry* entry = entryOf(t, j);
    if (entry == nullptr)
        return 0;
    if (flags & NOZINFO_FLAG_STATIC) {
        const ReferenceEntry built = builtInEntry(t, j);
        return nozinfoFlowAtPressure(modePressure(), built.refPressure, built.refFlow);
    }
    bringToMode(t, j, entry);
    return entry->refFlow;
}

uint32_t nozinfoPressureLimit(uint32_t t, uint32_t j, uint32_t flags)
{
    const ReferenceEntry* entry = entryOf(t, j);
    if (entry == nullptr)
        return 0;
    const ReferenceEntry source = (flags & NOZINFO_FLAG_STATIC) ? builtInEntry(t, j) : *entry;
    return (flags & NOZINFO_FLAG_MAXIMUM) ? source.maxPressure : source.minPressure;
}

uint32_t nozinfoDropletCode(uint32_t t, uint32_t j, uint32_t pressure)
{
    const NozzleSize* size = sizeOf(t, j);
    if (size == nullptr)
        return NOZZLE_NO_DROPLET_CODE;
    if (const NozzleCatalogueRecord* record = catalogueOf(t, j)) {
        const uint32_t k = dropletClassify(record, static_cast<float>(pressure) / 100.0f);
        return k != 0 ? NOZZLE_NO_DROPLET_CODE - k : NOZZLE_NO_DROPLET_CODE;
    }
    const uint32_t p = (pressure + 5) / 10 * 10;
    if (p < size->firstPressure)
        return NOZZLE_NO_DROPLET_CODE;
    uint32_t index = 0;
    if (p > size->firstPressure) {
        if (size->stepPressure == 0)
            return NOZZLE_NO_DROPLET_CODE;
        index = (p - size->firstPressure + size->stepPressure - 1) / size->stepPressure;
    }
    return index < categoryCount(size) ? nozzleLetterCode(size->categories[index]) : NOZZLE_NO_DROPLET_CODE;
}

uint32_t nozinfoDropletPressureBand(uint32_t t, uint32_t j, uint32_t code, uint32_t* out, uint32_t flag)
{
    const NozzleSize* size = sizeOf(t, j);
    if (size == nullptr || out == nullptr)
        return 0;
    if (const NozzleCatalogueRecord* record = catalogueOf(t, j)) {
        float lower;
        float upper;
        if (code < 1 || code > NOZZLE_CLASS_COUNT ||
            !dropletClassBand(record, NOZZLE_NO_DROPLET_CODE - code, &lower, &upper))
            return 0;
        *out = scaled(flag ? upper : lower, 100.0f);
        return 1;
    }
    const uint32_t steps = categoryCount(size);
    uint32_t first = 0;
    while (first < steps && nozzleLetterCode(size->categories[first]) != code)
        ++first;
    if (first == steps)
        return 0;
    uint32_t index = first;
    if (flag) {
        uint32_t last = first;
        while (last + 1 < steps && nozzleLetterCode(size->categories[last + 1]) == code)
            ++last;
        index = last + 1 < steps ? last + 1 : last;
    }
    *out = size->firstPressure + size->stepPressure * index;
    return 1;
}

uint32_t nozinfoFlowAtPressure(uint32_t p, uint32_t pRef, uint32_t flowRef)
{
    if (pRef == 0)
        return 0;
    if (p == pRef)
        return flowRef;
    double factor;
    if (p == NOZINFO_REF_PRESSURE_IMPERIAL && pRef == NOZINFO_REF_PRESSURE_METRIC)
        factor = 1.1747338097345947;
    else if (p == NOZINFO_REF_PRESSURE_METRIC && pRef == NOZINFO_REF_PRESSURE_IMPERIAL)
        factor = 0.8512566776518742;
    else
        factor = std::sqrt(static_cast<double>(p) / pRef);
    const double flow = flowRef * factor + 0.5;
    return flow >= 4294967295.0 ? UINT32_MAX : static_cast<uint32_t>(flow);
}

uint32_t nozinfoSetCustomRefPress(uint32_t t, uint32_t j, uint32_t value)
{
    ReferenceEntry* entry = entryOf(t, j);
    if (entry == nullptr || value > UINT16_MAX)
        return 0;
    entry->refPressure = static_cast<uint16_t>(value);
    entry->state = NOZINFO_STATE_CUSTOM;
    writeCustom(t, j, {{kRefPress, value}});
    return 1;
}

uint32_t nozinfoSetCustomRefFlow(uint32_t t, uint32_t j, uint32_t value)
{
    ReferenceEntry* entry = entryOf(t, j);
    if (entry == nullptr)
        return 0;
    entry->refFlow = value;
    entry->state = NOZINFO_STATE_CUSTOM;
    writeCustom(t, j, {{kRefFlow, value}});
    return 1;
}

uint32_t nozinfoSetCustomPressRange(uint32_t t, uint32_t j, uint32_t minimum, uint32_t maximum)
{
    ReferenceEntry* entry = entryOf(t, j);
    if (entry == nullptr || minimum > UINT16_MAX || maximum > UINT16_MAX)
        return 0;
    entry->minPressure = static_cast<uint16_t>(minimum);
    entry->maxPressure = static_cast<uint16_t>(maximum);
    writeCustom(t, j, {{kMinPress, minimum}, {kMaxPress, maximum}});
    return 1;
}

void nozinfoClearCustom()
{
    rebuildTable();
    QSettings settings(QString::fromStdString(nozinfoCustomFilePath()), QSettings::IniFormat);
    settings.remove(kCustomGroup);
    settings.sync();
}
