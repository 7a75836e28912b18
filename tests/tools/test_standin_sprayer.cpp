// The stand-in sprayer: its physics on their own, then played on a board.
#include "standin_board.h"
#include "standin_fpgaio.h"
#include "standin_sprayer.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <fstream>
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

// Opens the valve fully, then steps the drive for ms in 100 ms steps.
SprayerModel openValveModel(const SprayerSetup& setup = SprayerSetup())
{
    SprayerModel model(setup);
    SprayerDrive open = spraying();
    open.valveDutyPerMille = 1000;
    open.valveOpening = true;
    model.step(open, setup.valveTravelMs);
    return model;
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

TEST_CASE("the regulating valve moves with duty and direction over its travel time")
{
    SprayerSetup setup;
    setup.valveTravelMs = 4000;
    SprayerModel model(setup);
    SprayerDrive d = spraying();
    d.valveOpening = true;
    d.valveDutyPerMille = 1000;
    model.step(d, 1000);
    CHECK(model.valvePosition() == doctest::Approx(0.25));
    d.valveDutyPerMille = 500;
    model.step(d, 2000);
    CHECK(model.valvePosition() == doctest::Approx(0.5));
    d.valveDutyPerMille = 0;
    model.step(d, 5000);
    CHECK(model.valvePosition() == doctest::Approx(0.5));
    d.valveOpening = false;
    d.valveDutyPerMille = 1000;
    model.step(d, 1000);
    CHECK(model.valvePosition() == doctest::Approx(0.25));
    model.step(d, 60000);
    CHECK(model.valvePosition() == 0.0);
    d.valveOpening = true;
    model.step(d, 60000);
    CHECK(model.valvePosition() == 1.0);
}

TEST_CASE("flow goes to the open sections, pressure rises with the square of the flow per nozzle")
{
    SprayerModel model = openValveModel();
    const SprayerSetup& s = model.setup();

    model.step(spraying(), 100);
    const double full = model.flowLpm();
    CHECK(full == doctest::Approx(s.maxFlowLpm));
    const double perNozzle = full / (s.sections * s.nozzlesPerSection);
    CHECK(model.pressureBar() == doctest::Approx(s.nozzleRefBar * (perNozzle / s.nozzleRefFlowLpm) *
                                                 (perNozzle / s.nozzleRefFlowLpm)));
    const double fullPressure = model.pressureBar();

    // Three sections closed: a third less flow, the same per nozzle and the same pressure.
    model.step(spraying(kAllNine & ~0x7u), 100);
    CHECK(model.flowLpm() == doctest::Approx(full * 6 / 9));
    CHECK(model.pressureBar() == doctest::Approx(fullPressure));

    // Half the valve: half the flow per nozzle, a quarter of the pressure.
    SprayerDrive closing = spraying();
    closing.valveDutyPerMille = 1000;
    model.step(closing, s.valveTravelMs / 2);
    model.step(spraying(), 100);
    CHECK(model.flowLpm() == doctest::Approx(full / 2));
    CHECK(model.pressureBar() == doctest::Approx(fullPressure / 4));

    SprayerDrive masterClosed = spraying();
    masterClosed.master = false;
    model.step(masterClosed, 100);
    CHECK(model.flowLpm() == 0.0);
    CHECK(model.pressureBar() == 0.0);
    model.step(spraying(0), 100);
    CHECK(model.flowLpm() == 0.0);

    CHECK(model.workingWidthM(kAllNine) == doctest::Approx(27.0));
    CHECK(model.workingWidthM(0x3) == doctest::Approx(6.0));
}

TEST_CASE("flow-meter pulses and the tank account for what was sprayed")
{
    SprayerSetup setup;
    setup.flowPulsesPerLitre = 400.0;
    setup.tankCapacityLitres = 200.0;
    SprayerModel model = openValveModel(setup);
    model.takeFlowPulses();
    const double sprayedBefore = model.sprayedLitres();
    const double tankBefore = model.tankLitres();

    uint32_t pulses = 0;
    drive(model, spraying(), 60000, &pulses);  // 150 l/min for a minute
    const double litres = model.sprayedLitres() - sprayedBefore;
    CHECK(litres == doctest::Approx(150.0));
    CHECK(model.tankLitres() == doctest::Approx(tankBefore - litres));
    CHECK(pulses == doctest::Approx(litres * 400.0).epsilon(0.001));
    CHECK(model.tankReading() < 1023 / 4 + 2);

    // An empty tank sprays nothing more.
    drive(model, spraying(), 60000);
    CHECK(model.tankLitres() == 0.0);
    CHECK(model.flowLpm() == 0.0);
    CHECK(model.tankReading() == 0);
    model.refill();
    CHECK(model.tankLitres() == 200.0);
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
    StandinSprayer sprayer(root.dir(), board, setup);

    // Master (pin 2) and sections 1..3 (pins 4, 6, 8) driven on; the valve opening at full duty
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
    CHECK(d.valveOpening);
    CHECK(sprayer.model().valvePosition() == 1.0);

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

    // The reverse drive closes it.
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmDuty0, 7500));
    sprayer.step(1000);
    CHECK_FALSE(sprayer.drive().valveOpening);
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
    CHECK(sprayer.command("status").find("speed 12.5 km/h") != std::string::npos);

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
