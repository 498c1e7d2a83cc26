// The hang hunter: one dialect's conversion of arbitrary bytes with the product's own bounds (no
// setLimits: the budgets a conversion takes for the program's size), every cycle expanded. It
// checks nothing but time: built without the sanitizers (fuzz/CMakeLists.txt), it aborts a
// conversion that uses more than kCpuSeconds of processor time, and libFuzzer records the input
// as a crash.
//
// Processor time, not libFuzzer's -timeout: that one counts wall time, which on the shared 2-core
// machine grows five-fold under load, so a legitimate run at a bound looked like a hang.
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "nci/cycle_errors.h"
#include "fuzz_support.h"
#include "parsers/program_parser.h"

#ifndef MORVANE_FUZZ_FORMAT
#error "MORVANE_FUZZ_FORMAT names the format-list position of the dialect"
#endif

namespace {

constexpr long kCpuSeconds = 5;
constexpr char kTooLong[] = "morvane fuzz: the conversion used up the hang hunter's processor time\n";

extern "C" void onTooLong(int) {
    const ssize_t ignored = ::write(STDERR_FILENO, kTooLong, sizeof kTooLong - 1);
    (void)ignored;
    std::abort();
}

// Arms the processor-time alarm (user and system time of the process) for one conversion.
class CpuAlarm {
  public:
    CpuAlarm() {
        ::signal(SIGPROF, onTooLong);
        set(kCpuSeconds);
    }
    ~CpuAlarm() { set(0); }
    CpuAlarm(const CpuAlarm&) = delete;
    CpuAlarm& operator=(const CpuAlarm&) = delete;

  private:
    static void set(long seconds) {
        const itimerval value{{0, 0}, {seconds, 0}};
        if (::setitimer(ITIMER_PROF, &value, nullptr) != 0)
            morvane::fuzz::fail("cannot set the processor-time alarm", "");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    const fuzz::InputDocument document(data, size);
    // The parser truncates the scratch file, so it never holds more than one input's NCI.
    auto parser = makeParser(MORVANE_FUZZ_FORMAT, document.source(), fuzz::scratchFile(), {});
    if (parser == nullptr) fuzz::fail("the format has no parser", "");
    const CpuAlarm alarm;
    try {
        parser->run();
    } catch (const CycleWrongValue&) {
        // A rejected cycle parameter ends the program where it was.
    } catch (const CycleWrongCode&) {
    }
    return 0;
}
