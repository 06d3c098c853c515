// SPDX-License-Identifier: MIT
// livrano-soak: the writing commands through the real livrano-cli for as long as asked, on a demo
// installation of every kind of aircraft, half of them killed (SIGKILL, from the `timeout` that
// starts them) at a random moment within the command's usual time. After each step the aircraft
// must hold what the model says; after a kill, what the step started from or what it makes, and
// once the next command has run, nothing the killed one left. Prints its steps, kills and
// violations, and ends with 1 when there was one.
//
//   livrano-soak [MINUTES [SEED]]      (`make soak` passes SOAK_MINUTES; LIVRANO_CLI names the cli)

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include "app/file_bytes.h"
#include "soak/livery_model.h"

namespace {

namespace fs = std::filesystem;
using namespace livrano;
using namespace livrano::soak;
using Clock = std::chrono::steady_clock;

struct Run {
    int exit = -1; // kKilled when the kill came first
    std::string err;
};
constexpr int kKilled = 128 + 9;

// livrano-cli with these arguments, killed after `delay` seconds when it is given.
Run cli(const fs::path& scratch, const std::string& arguments, std::optional<double> delay = std::nullopt) {
    const char* program = std::getenv("LIVRANO_CLI");
    const fs::path err = scratch / "err.txt";
    const std::string line = (delay ? "timeout -s KILL " + std::to_string(*delay) + " " : std::string()) +
                             "'" + (program ? program : LIVRANO_CLI_PATH) + "' " + arguments +
                             " >/dev/null 2>'" + err.string() + "'";
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFileBytes(err).value_or("")};
}

// The aircraft holds what the step started from or what it makes: "" when it holds one of them.
std::string startOrEnd(Aircraft& a, const Model& start, const Expected& e, const Snapshot& before,
                       bool settled) {
    std::string wrong;
    for (const Model* m : {&e.after, &start}) {
        a.model = *m;
        a.model.bak = a.backup(); // a killed step may or may not have backed aircraft.cfg up
        wrong = violations(a, before, e.touched, {}, settled);
        if (wrong.empty())
            return wrong;
    }
    return wrong;
}

// The command after a kill, whose recovery finishes what the killed one left. The killed one may
// hold its lock a moment longer, as it dies.
std::string nextCommand(const fs::path& scratch, const Aircraft& a) {
    Run next;
    for (int tries = 0; tries < 100 && (tries == 0 || next.exit == 3); ++tries) {
        if (tries > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        next = cli(scratch, commandLine(a, {Command::Remove, "No Such Livery"}));
    }
    return next.exit == 2
               ? ""
               : "the command after the kill ended with " + std::to_string(next.exit) + ": " + next.err;
}

int soakSteps(std::vector<std::unique_ptr<Aircraft>>& aircraft, const fs::path& scratch, std::uint32_t seed,
              double minutes) {
    std::mt19937 rng(seed);
    std::map<Command, double> usual; // seconds, of the runs not killed
    std::map<const Aircraft*, std::string> history;
    int steps = 0, kills = 0, found = 0;
    const auto length =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(60 * minutes));
    for (const Clock::time_point end = Clock::now() + length; Clock::now() < end; ++steps) {
        Aircraft& a = *aircraft[rng() % aircraft.size()];
        const Step s = randomStep(a, rng, false);
        const Expected e = predict(a, s);
        const Model start = a.model;
        const Snapshot before = snapshot(a.folder);
        const fs::path zip = zipFile(a);
        const bool kill = rng() % 2 == 0;
        const double delay = std::uniform_real_distribution<double>(
            0.0, 1.2 * usual.try_emplace(s.command, 0.05).first->second)(rng);
        const Clock::time_point started = Clock::now();
        const Run r = cli(scratch, commandLine(a, s), kill ? std::optional(delay) : std::nullopt);
        history[&a] += "\n  step " + std::to_string(steps) + ", " + describe(a, s) + ": " +
                       (r.exit == kKilled ? "killed" : std::to_string(r.exit));
        std::string wrong;
        if (r.exit == kKilled) {
            ++kills;
            wrong = startOrEnd(a, start, e, before, false) + nextCommand(scratch, a);
            wrong += startOrEnd(a, start, e, before, true);
        } else {
            usual[s.command] =
                0.8 * usual[s.command] + 0.2 * std::chrono::duration<double>(Clock::now() - started).count();
            if (r.exit != e.exit)
                wrong +=
                    "ended with " + std::to_string(r.exit) + ", not " + std::to_string(e.exit) + ": " + r.err;
            a.model = e.after;
            if (s.command == Command::Pack && r.exit == 0)
                packed(a, a.title(s.variation), zip);
            wrong += violations(a, before, e.touched, {}, true);
        }
        if (!wrong.empty()) {
            ++found;
            std::printf("LIVRANO_MODEL_SEED=%u, after%s:\n%s\n", seed, history[&a].c_str(), wrong.c_str());
            a.model = a.fromDisk(); // go on from what is there
        }
        if (history[&a].size() > 1000)
            history[&a].erase(0, history[&a].find('\n', 500));
    }
    std::printf("steps %d, kills %d, violations %d\n", steps, kills, found);
    return found;
}

} // namespace

int main(int argc, char** argv) {
    const double minutes = argc > 1 ? std::atof(argv[1]) : 1.0;
    const char* chosen = argc > 2 ? argv[2] : std::getenv("LIVRANO_MODEL_SEED");
    const std::uint32_t seed =
        chosen ? static_cast<std::uint32_t>(std::strtoul(chosen, nullptr, 10)) : std::random_device()();
    std::printf("livrano-soak: %.1f minutes, LIVRANO_MODEL_SEED=%u\n", minutes, seed);
    std::fflush(stdout);
    std::error_code ec;
    const fs::path dir = scratchFolder() / ("livrano-soak-" + std::to_string(seed));
    fs::remove_all(dir, ec);
    std::string why;
    std::vector<std::unique_ptr<Aircraft>> aircraft = makeInstallation(dir, why);
    if (aircraft.empty()) {
        std::fprintf(stderr, "livrano-soak: %s\n", why.c_str());
        return 2;
    }
    const int found = soakSteps(aircraft, dir, seed, minutes);
    aircraft.clear();
    fs::remove_all(dir, ec);
    return found == 0 ? 0 : 1;
}
