// The stand-in sprayer: its physics on their own, then played on a board.
#include "standin_board.h"
#include "standin_fpgaio.h"
#include "standin_sprayer.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>
#include <vector>
#include <string>

namespace {

const uint32_t kGpOutLo = 0x6020;
const uint32_t kPwmControl = 0x2000;
const uint32_t kPwmPeriod0 = 0x2010;
const uint32_t kPwmDuty0 = 0x2014;
const uint32_t kFrqIrqStat = 0x4004;
const uint32_t kFrqData0 = 0x4014;
const uint32_t kAllNine = 0x1FF;

SprayerDrive spraying(uint32_t sections = kAllNine)
{
    SprayerDrive drive;
    drive.master = true;
    drive.openSections = sections;
    return drive;
}

uint32_t drive(SprayerModel& model, const SprayerDrive& drive, uint32_t ms, uint32_t* flowPulses = nullptr)
{
    uint32_t wheel = 0;
    for (uint32_t t = 0; t < ms; t += 100) {
        model.step(drive, 100);
        wheel += model.takeWheelPulses();
        if (flowPulses)
            *flowPulses += model.takeFlowPulses();
    }
    return wheel;
}

int adcFile(const std::string& root, int channel)
{
    std::ifstream in(standinAdcInputPath(root, channel));
    int value = -1;
    in >> value;
    return value;
}

}  // namespace

TEST_CASE("wheel pulses follow the speed and the speed calibration")
{
    struct Case {
        double kmh;
        double pulsesPer100m;
        uint32_t ms;
        uint32_t pulses;
    };
    // 8 km/h for 36 s is 80 m; 12 km/h for 30 s is 100 m; 0.5 km/h keeps its fractions.
    const Case cases[] = {
        {8.0, 1000.0, 36000, 800}, {12.0, 1000.0, 30000, 1000}, {12.0, 650.0, 30000, 650},
        {0.5, 1000.0, 72000, 100}, {0.0, 1000.0, 10000, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.kmh);
        CAPTURE(c.pulsesPer100m);
        SprayerSetup setup;
        setup.speedPulsesPer100m = c.pulsesPer100m;
        SprayerModel model(setup);
        model.setSpeedKmh(c.kmh);
        const uint32_t pulses = drive(model, SprayerDrive(), c.ms);
        CHECK(pulses + 1 >= c.pulses);
        CHECK(pulses <= c.pulses);
    }
    SprayerModel model;
    model.setSpeedKmh(-3.0);
    CHECK(model.speedKmh() == 0.0);
}

TEST_CASE("the regulating valve moves at the drive's duty beyond its dead zone, over its travel time")
{
    SprayerSetup setup;
    setup.valveTravelMs = 4000;
    setup.valveDeadZone = 0.2;
    setup.valveStartPosition = 0.0;
    SprayerModel model(setup);
    struct Case {
        uint32_t duty;
        bool opening;
        uint32_t ms;
        double position;
    };
    // Full drive: a quarter of the travel a second. Below the dead zone nothing
    // moves; above it the speed grows from none to full.
    const Case cases[] = {
        {1000, true, 1000, 0.25}, {200, true, 5000, 0.25}, {150, false, 5000, 0.25}, {600, true, 2000, 0.5},
        {1000, false, 1000, 0.25}, {1000, false, 60000, 0.0}, {1000, true, 60000, 1.0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.duty);
        CAPTURE(c.ms);
        SprayerDrive d = spraying();
        d.valveDutyPerMille = c.duty;
        d.valveOpening = c.opening;
        model.step(d, c.ms);
        CHECK(model.valvePosition() == doctest::Approx(c.position));
    }
    // The H-bridge's forward drive closes the valve.
    CHECK_FALSE(sprayerValveOpens(true));
    CHECK(sprayerValveOpens(false));
}

namespace {

// A nozzle's flow at pressure p of the setup.
double nozzleFlow(const SprayerSetup& s, double p)
{
    return s.nozzleRefFlowLpm * std::sqrt(p / s.nozzleRefBar);
}

// The model at the valve position, one step at the drive.
SprayerModel atPosition(SprayerSetup setup, double position, const SprayerDrive& drive)
{
    setup.valveStartPosition = position;
    SprayerModel model(setup);
    model.step(drive, 100);
    return model;
}

}  // namespace

TEST_CASE("the pressure balances the pump's falling flow against the valve and the open nozzles")
{
    SprayerSetup setup;
    setup.flowMeterJitter = 0.0;
    for (bool inReturn : {true, false}) {
        CAPTURE(inReturn);
        setup.valveInReturn = inReturn;
        double lastNozzleFlow = inReturn ? 1e9 : 0.0;
        for (double position : {0.2, 0.4, 0.6, 0.8}) {
            CAPTURE(position);
            const SprayerModel m = atPosition(setup, position, spraying());
            const SprayerBalance& b = m.balance();
            CHECK(b.pressureBar > 0.0);
            CHECK(b.pumpLpm == doctest::Approx(setup.pumpFlowLpm * (1.0 - b.pressureBar / setup.pumpStallBar)));
            CHECK(b.pumpLpm == doctest::Approx(b.valveReturnLpm + b.nozzleLpm + b.sectionReturnLpm));
            // Every one of the 54 nozzles is an orifice at the boom's pressure.
            CHECK(b.nozzleLpm == doctest::Approx(54 * nozzleFlow(setup, b.boomBar)));
            CHECK(m.sprayedFlowLpm() == doctest::Approx(b.nozzleLpm));
            CHECK(m.flowLpm() == doctest::Approx(b.nozzleLpm));
            CHECK(m.pressureBar() == doctest::Approx(b.boomBar));
            if (inReturn) {
                // Opening the return sends more back to the tank: less pressure, less sprayed.
                CHECK(b.boomBar == doctest::Approx(b.pressureBar));
                CHECK(b.valveReturnLpm ==
                      doctest::Approx(setup.valveFullKv * position * position * std::sqrt(b.pressureBar)));
                CHECK(b.nozzleLpm < lastNozzleFlow);
            } else {
                // Opening the valve in the line lets more through to the boom, at a pressure drop across it.
                CHECK(b.boomBar < b.pressureBar);
                CHECK(b.valveReturnLpm == doctest::Approx(setup.valveLineReturnKv * std::sqrt(b.pressureBar)));
                CHECK(b.nozzleLpm > lastNozzleFlow);
            }
            lastNozzleFlow = b.nozzleLpm;
        }
    }
    // The default sprayer's valve in the return reaches 65 l/ha at 4 and at 16 km/h (12 and 47 l/min).
    setup.valveInReturn = true;
    CHECK(atPosition(setup, 0.9, spraying()).sprayedFlowLpm() < 11.0);
    CHECK(atPosition(setup, 0.1, spraying()).sprayedFlowLpm() > 50.0);
    const SprayerModel m = atPosition(setup, 0.33, spraying());
    CHECK(m.pressureReading() == std::lround(m.pressureBar() / setup.pressureFullScaleBar * 1023.0));
}

TEST_CASE("a closed section returns its flow through a calibrated return, or raises the pressure without one")
{
    SprayerSetup setup;
    setup.flowMeterJitter = 0.0;
    const uint32_t sectionThreeOff = kAllNine & ~0x4u;
    for (bool returns : {true, false}) {
        CAPTURE(returns);
        setup.calibratedReturns = returns;
        const SprayerModel all = atPosition(setup, 0.33, spraying());
        const SprayerModel eight = atPosition(setup, 0.33, spraying(sectionThreeOff));
        CHECK(eight.sprayedFlowLpm() == doctest::Approx(48 * nozzleFlow(setup, eight.pressureBar())));
        if (returns) {
            // The return passes what its nozzles did: the pressure, the meter's flow and the rate stay.
            CHECK(eight.pressureBar() == doctest::Approx(all.pressureBar()));
            CHECK(eight.flowLpm() == doctest::Approx(all.flowLpm()));
            CHECK(eight.balance().sectionReturnLpm == doctest::Approx(all.sprayedFlowLpm() / 9));
            CHECK(eight.sprayedFlowLpm() == doctest::Approx(all.sprayedFlowLpm() * 8 / 9));
        } else {
            // Fewer orifices: the pressure rises and every other nozzle passes more.
            CHECK(eight.balance().sectionReturnLpm == 0.0);
            CHECK(eight.pressureBar() > all.pressureBar() * 1.02);
            CHECK(eight.sprayedFlowLpm() / 48 > all.sprayedFlowLpm() / 54 * 1.01);
            CHECK(eight.sprayedFlowLpm() < all.sprayedFlowLpm());
        }
    }
    // The master valve closed: the boom gets nothing and its sensor reads nothing.
    SprayerDrive masterClosed = spraying();
    masterClosed.master = false;
    const SprayerModel closed = atPosition(setup, 0.33, masterClosed);
    CHECK(closed.flowLpm() == 0.0);
    CHECK(closed.pressureBar() == 0.0);
    CHECK(closed.pressureReading() == 0);
    CHECK(closed.balance().pumpLpm == doctest::Approx(closed.balance().valveReturnLpm));
    CHECK(atPosition(setup, 0.33, spraying(0)).flowLpm() == 0.0);

    CHECK(closed.workingWidthM(kAllNine) == doctest::Approx(27.0));
    CHECK(closed.workingWidthM(0x3) == doctest::Approx(6.0));
}

TEST_CASE("the flow meter's pulses wander about the flow but count it, and repeat with the seed")
{
    auto counts = [](double jitter, uint32_t seed) {
        SprayerSetup setup;
        setup.flowMeterJitter = jitter;
        setup.seed = seed;
        SprayerModel model(setup);
        std::vector<uint32_t> perTenth;
        for (int i = 0; i < 600; ++i) {
            model.step(spraying(), 100);
            perTenth.push_back(model.takeFlowPulses());
        }
        return std::make_pair(perTenth, model.sprayedLitres() * setup.flowPulsesPerLitre);
    };
    const auto steady = counts(0.0, 1);
    const auto jittery = counts(0.1, 1);
    auto spread = [](const std::vector<uint32_t>& v) {
        const auto [lo, hi] = std::minmax_element(v.begin() + 10, v.end());
        return *hi - *lo;
    };
    // Without jitter a tenth of a second holds the same count but for its carried fraction.
    CHECK(spread(steady.first) <= 1);
    CHECK(spread(jittery.first) >= 3);
    const double total = std::accumulate(jittery.first.begin(), jittery.first.end(), 0.0);
    CHECK(total == doctest::Approx(jittery.second).epsilon(0.01));
    CHECK(counts(0.1, 1).first == jittery.first);
    CHECK(counts(0.1, 2).first != jittery.first);
}

TEST_CASE("flow-meter pulses and the tank account for what was sprayed")
{
    SprayerSetup setup;
    setup.flowPulsesPerLitre = 400.0;
    setup.tankCapacityLitres = 30.0;
    setup.flowMeterJitter = 0.0;
    SprayerModel model(setup);
    const double tankBefore = model.tankLitres();

    uint32_t pulses = 0;
    drive(model, spraying(), 60000, &pulses);
    const double litres = model.sprayedLitres();
    CHECK(litres > 10.0);
    CHECK(model.tankLitres() == doctest::Approx(tankBefore - litres));
    CHECK(pulses == doctest::Approx(litres * 400.0).epsilon(0.001));
    CHECK(model.tankReading() < 1023 * 2 / 3);

    // An empty tank sprays nothing more.
    drive(model, spraying(), 120000);
    CHECK(model.tankLitres() == 0.0);
    CHECK(model.flowLpm() == 0.0);
    CHECK(model.pressureBar() == 0.0);
    CHECK(model.tankReading() == 0);
    model.refill();
    CHECK(model.tankLitres() == 30.0);
    CHECK(model.tankReading() == 1023);
}

TEST_CASE("played on a board: valves and H-bridge read back, pulses and sensors posted")
{
    TestRoot root;
    StandinFpga board(root.dir());
    REQUIRE(board.ok());
    board.stopLoops();
    SprayerSetup setup;
    setup.valveTravelMs = 1000;
    setup.valveDeadZone = 0.0;
    StandinSprayer sprayer(root.dir(), board, setup);

    // Master (pin 2) and sections 1..3 (pins 4, 6, 8) driven on; the valve closing at full duty
    // on the forward drive (the polarity flag set).
    REQUIRE(standinWriteFpgaRegister(root.dir(), kGpOutLo, (1u << 1) | (1u << 3) | (1u << 5) | (1u << 7)));
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmControl, 1u | (1u << 8)));
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmPeriod0, 15000));
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmDuty0, 0x80000000u | 15000));
    CHECK(sprayer.command("speed 8").rfind("speed 8", 0) == 0);
    sprayer.step(1000);
    const SprayerDrive d = sprayer.drive();
    CHECK(d.master);
    CHECK(d.openSections == 0x7u);
    CHECK(d.valveDutyPerMille == 1000);
    CHECK_FALSE(d.valveOpening);
    CHECK(sprayer.model().valvePosition() == 0.0);

    // Wheel (pin 80, slot 14) and flow meter (pin 81, slot 15) reports.
    const uint32_t pending = standinReadFpgaRegister(root.dir(), kFrqIrqStat);
    CHECK((pending & (1u << 14)) != 0);
    CHECK((pending & (1u << 15)) != 0);
    const uint32_t wheel = standinReadFpgaRegister(root.dir(), kFrqData0 + 0x10 * 14);
    CHECK((wheel & 0x1FF) == 22);  // 2.22 m at 1000 pulses per 100 m
    CHECK(((wheel >> 9) & 0x1FFFFF) == 990000);  // the 22 pulses' own time at 22.2 Hz
    // The sprayed flow reached the pressure channel (4) and the tank channel (5).
    CHECK(adcFile(root.dir(), 4) == sprayer.model().pressureReading());
    CHECK(adcFile(root.dir(), 4) > 0);
    CHECK(adcFile(root.dir(), 5) == sprayer.model().tankReading());

    // Untaken reports are not overwritten: the pulses wait and arrive together.
    sprayer.step(1000);
    CHECK((standinReadFpgaRegister(root.dir(), kFrqData0 + 0x10 * 14) & 0x1FF) == 22);
    REQUIRE(standinWriteFpgaRegister(root.dir(), kFrqIrqStat, 0));
    sprayer.step(1000);
    const uint32_t later = standinReadFpgaRegister(root.dir(), kFrqData0 + 0x10 * 14);
    CHECK((later & 0x1FF) == 44);
    CHECK(((later >> 9) & 0x1FFFFF) == 1980000);

    // The reverse drive opens it.
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmDuty0, 7500));
    sprayer.step(1000);
    CHECK(sprayer.drive().valveOpening);
    CHECK(sprayer.model().valvePosition() == doctest::Approx(0.5));
}

TEST_CASE("the control lines")
{
    TestRoot root;
    StandinFpga board(root.dir());
    board.stopLoops();
    StandinSprayer sprayer(root.dir(), board);

    CHECK(sprayer.command("speed 12.5") == "speed 12.5 km/h");
    CHECK(sprayer.model().speedKmh() == 12.5);
    CHECK(sprayer.command("stop") == "stopped");
    CHECK(sprayer.model().speedKmh() == 0.0);
    CHECK(sprayer.command("go") == "driving at 12.5 km/h");
    CHECK(sprayer.model().speedKmh() == 12.5);

    // Bit p - 31 holds pin p: section switches 1..9 on pins 32 31 34 33 36 35 38 37 40, the master on 39.
    const uint32_t kGpInHi = 0x6014;
    const uint32_t masterBit = 1u << 8;
    const uint32_t sectionBits = 0x2FF;
    CHECK((standinReadFpgaRegister(root.dir(), kGpInHi) & (sectionBits | masterBit)) == sectionBits);
    CHECK(sprayer.command("master on") == "master switch on");
    CHECK((standinReadFpgaRegister(root.dir(), kGpInHi) & (sectionBits | masterBit)) == (sectionBits | masterBit));
    CHECK(sprayer.command("master off") == "master switch off");
    CHECK((standinReadFpgaRegister(root.dir(), kGpInHi) & masterBit) == 0);
    CHECK(sprayer.command("section 9 off") == "section switch 9 off");  // pin 40
    CHECK(sprayer.command("section 1 off") == "section switch 1 off");  // pin 32
    CHECK((standinReadFpgaRegister(root.dir(), kGpInHi) & sectionBits) == (sectionBits & ~(1u << 9) & ~(1u << 1)));
    CHECK(sprayer.command("section 1 on") == "section switch 1 on");
    CHECK(sprayer.command("status").find("switches 0FF") != std::string::npos);

    CHECK(sprayer.command("refill").rfind("tank full", 0) == 0);
    const std::string status = sprayer.command("status");
    CHECK(status.find("speed 12.5 km/h") != std::string::npos);
    // The pressure balance: where the pump's flow goes.
    CHECK(status.find("; pump ") != std::string::npos);
    CHECK(status.find(" = valve return ") != std::string::npos);
    CHECK(status.find(" + nozzles ") != std::string::npos);
    CHECK(status.find(" + section returns ") != std::string::npos);

    for (const char* bad : {"speed", "speed x", "speed -1", "speed 61", "speed 5km", "master", "master up",
                            "section", "section 0 on", "section 10 on", "section 1", "section x on", "fly"}) {
        CAPTURE(bad);
        CHECK(sprayer.command(bad).rfind("?", 0) == 0);
    }
    CHECK(sprayer.model().speedKmh() == 12.5);
}

TEST_CASE("the ground covered counts only with the master valve and sections open")
{
    SprayerModel model;
    model.setSpeedKmh(9.0);  // 2.5 m/s
    drive(model, spraying(), 10000);
    CHECK(model.sprayedDistanceM() == doctest::Approx(25.0));
    CHECK(model.sprayedAreaM2() == doctest::Approx(25.0 * 27.0));
    drive(model, spraying(0x7), 4000);  // three sections: 9 m
    CHECK(model.sprayedDistanceM() == doctest::Approx(35.0));
    CHECK(model.sprayedAreaM2() == doctest::Approx(25.0 * 27.0 + 10.0 * 9.0));
    SprayerDrive masterClosed = spraying();
    masterClosed.master = false;
    drive(model, masterClosed, 4000);
    drive(model, spraying(0), 4000);
    CHECK(model.sprayedDistanceM() == doctest::Approx(35.0));
    CHECK(model.sprayedAreaM2() == doctest::Approx(25.0 * 27.0 + 10.0 * 9.0));
}
