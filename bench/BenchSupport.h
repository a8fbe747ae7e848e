#pragma once
// Shared set-up of the benchmarks: the model objects created once with a
// messenger that shows nothing, and the real emulator files they run on.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace benchmark
{
class State;
}
struct tOptions;
class tPicture8;
class tPicture32;

// Creates the model objects (once per process) with a silent messenger and
// the options at their defaults.
void StartBenchCore();

// The fixtures folder (env ORLIK_FIXTURES, else the build's default), or ""
// when it is absent.
std::string BenchFixturesDir();
// The fixture's full name, or "" (and the benchmark skipped with a reason)
// when it is absent or unreadable; Data then holds its bytes.
std::string BenchFixture(benchmark::State& St, const std::string& Sub, std::vector<uint8_t>* Data = nullptr);

// The machine state of the global objects as files of the formats without
// fixtures, built through the program's own writers (SNESGT has none, so its
// chunks are laid out here from the reader's buffers).
std::vector<uint8_t> CurrentAsSSL();
std::vector<uint8_t> CurrentAsSGT();
std::vector<uint8_t> CurrentAsSPC();

// Composes the loaded machine state once with the current options.
void ComposeCurrent(tPicture8& P8, tPicture32& P32);
// Times ComposeFrame of the loaded machine state with options O and the
// scene switches the viewer's Reload builds from them.
void TimeComposeFrame(benchmark::State& St, const tOptions& O);

// A fresh folder under the system's temporary folder for one benchmark.
std::string BenchTempDir(const std::string& Name);
