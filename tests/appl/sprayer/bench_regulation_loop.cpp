// How well the console regulates the stand-in sprayer, on the manual clock
// (sprayer_loop.h): for every row of the scenario table, at the targets 65 and
// 196 l/ha, with the sections' calibrated returns and without, over several
// seeds (tick phases and flow-meter jitter):
// - settling: from the step until the rate, sampled every 100 ms, is within
//   +-5 % of the target for good (median and worst over the seeds);
// - overshoots: times it left the band again after it first came back (worst);
// - steady-state error: the mean of the last 10 s against the target (worst);
// - ripple: the largest deviation in the last 10 s (worst);
// and the processor share the console's measurement and regulation take of one
// core while spraying (processor time over simulated time).
// Usage: appl_sprayer_bench_regulation_loop [seeds] [window s]
// The shared set-up asserts with doctest; a benchmark has no test runner.
#define DOCTEST_CONFIG_DISABLE
#include "sprayer_loop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

uint32_t presetNear(double lha)
{
    cycleenv::workDir();
    nozinfoInit(1);
    nozpresetInit(1);
    uint32_t best = 0;
    for (uint32_t preset = 1; preset < NOZPRESET_COUNT; ++preset) {
        if (std::fabs(nozpresetTargetRate(preset) / 10.0 - lha) < std::fabs(nozpresetTargetRate(best) / 10.0 - lha))
            best = preset;
    }
    return best;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int seeds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const uint32_t windowMs = argc > 2 ? static_cast<uint32_t>(std::max(5, std::atoi(argv[2]))) * 1000 : 25000;
    std::printf("rate regulation on the stand-in sprayer, %d seeds, %u s after each step\n", seeds, windowMs / 1000);
    std::printf("%-8s %-9s %-20s %8s %8s %6s %7s %7s\n", "target", "returns", "step", "settle", "worst", "overs",
                "error%", "ripple%");
    double cpu = 0.0;
    int cpuRuns = 0;
    int failures = 0;
    struct Block {
        double lha;
        bool returns;
        double deadZone;
    };
    const double motor = SprayerSetup().valveDeadZone;
    const Block blocks[] = {{65.0, true, motor}, {65.0, false, motor}, {196.0, true, motor}, {196.0, false, motor},
                            {65.0, false, 0.0}};
    for (const Block& block : blocks) {
        const uint32_t preset = presetNear(block.lha);
        const bool returns = block.returns;
        if (block.deadZone != motor)
            std::printf("a valve motor with a dead zone of %.0f %% of full drive:\n", block.deadZone * 100.0);
        {
            for (const LoopScenario& row : loopScenarios()) {
                std::vector<double> settle;
                double worst = 0.0, error = 0.0, ripple = 0.0;
                int overshoots = 0;
                bool unsettled = false;
                double target = 0.0;
                for (int seed = 1; seed <= seeds; ++seed) {
                    SprayerLoop::Options options;
                    options.preset = preset;
                    options.calibratedReturns = returns;
                    options.seed = static_cast<uint32_t>(seed);
                    options.valveDeadZone = block.deadZone;
                    double share = 0.0;
                    const LoopResponse r = runLoopScenario(row, options, windowMs, &share);
                    target = SprayerLoop::targetLha();
                    cpu += share;
                    ++cpuRuns;
                    if (r.settlingS < 0.0)
                        unsettled = true;
                    else
                        settle.push_back(r.settlingS);
                    worst = std::max(worst, r.settlingS);
                    overshoots = std::max(overshoots, r.excursions);
                    error = std::max(error, r.steadyErrorPercent);
                    ripple = std::max(ripple, r.ripplePercent);
                }
                if (unsettled || worst > 3.0 || overshoots > 1 || error > 2.0 || ripple > 5.0)
                    ++failures;
                char worstText[16];
                if (unsettled)
                    std::snprintf(worstText, sizeof worstText, "never");
                else
                    std::snprintf(worstText, sizeof worstText, "%.1f s", worst);
                std::printf("%-8.1f %-9s %-20s %6.1f s %8s %6d %7.2f %7.1f\n", target, returns ? "with" : "without",
                            row.name, median(settle), worstText, overshoots, error, ripple);
            }
        }
    }
    std::printf("console's core while spraying: %.3f %% of one core\n", cpuRuns ? cpu * 100.0 / cpuRuns : 0.0);
    std::printf("rows missing a target (settling <= 3 s, <= 1 overshoot, error <= 2 %%, ripple <= 5 %%): %d\n",
                failures);
    return 0;
}
