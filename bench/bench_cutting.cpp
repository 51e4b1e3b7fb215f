// How fast a busy read is cut into messages, beside a cutter that copies the
// rest of the read per message, and how fast code page 932 is decoded.
#include "net/cp932_codec.h"
#include "net/protocol.h"
#include "reference_cutter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr qsizetype kKiB = 1024;
constexpr qsizetype kMiB = 1024 * kKiB;
constexpr int kCycle = 32;  // messages per round of the pattern below

// About `size` characters of the messages of a busy game: mostly finis and
// reset tags, a move every sixteen, a chat line every thirty-two.
QString busyRead(qsizetype size) {
    const QString chat = torvane::chatMessage(u"bob>>hi!");
    const QString tags[] = {torvane::gameOverMessage(), torvane::tallyResetMessage()};
    QString read;
    read.reserve(size + chat.size());
    for (int i = 0; read.size() < size; ++i) {
        if (i % kCycle == 0) {
            read += chat;
        } else if (i % (kCycle / 2) == 1) {
            read += torvane::moveMessage(i % 10, i / 10 % 10, i / 100 % 10);
        } else {
            read += tags[i % 2];
        }
    }
    return read;
}

// About `size` bytes of Japanese chat as it arrives on the wire.
QByteArray japaneseBytes(qsizetype size) {
    const QByteArray line = torvane::encodeCp932(u"|Speak 山田>>こんにちは、ｺﾝﾆﾁﾊ！ (^_^) ～①|SetSt 103");
    QByteArray bytes;
    bytes.reserve(size + line.size());
    while (bytes.size() < size) {
        bytes += line;
    }
    return bytes;
}

template <typename Cutter>
void cutBusyRead(benchmark::State& state, Cutter cut) {
    const QString read = busyRead(state.range(0));
    std::size_t messages = 0;
    for (auto _ : state) {
        const std::vector<torvane::Message> cutMessages = cut(read);
        messages = cutMessages.size();
        benchmark::DoNotOptimize(cutMessages.data());
    }
    state.SetBytesProcessed(state.iterations() * read.size() * qsizetype(sizeof(QChar)));
    state.counters["messages"] = static_cast<double>(messages);
}

void bmCutMessages(benchmark::State& state) {
    cutBusyRead(state, [](const QString& read) { return torvane::cutMessages(read, true).messages; });
}

void bmReferenceCut(benchmark::State& state) {
    cutBusyRead(state, [](const QString& read) { return torvane::bench::referenceCut(read); });
}

void bmDecode(benchmark::State& state) {
    const QByteArray bytes = japaneseBytes(state.range(0));
    for (auto _ : state) {
        torvane::Cp932Decoder decoder;
        benchmark::DoNotOptimize(decoder.decode(bytes).size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void bmEncode(benchmark::State& state) {
    const QString text = torvane::Cp932Decoder().decode(japaneseBytes(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(torvane::encodeCp932(text).size());
    }
    state.SetBytesProcessed(state.iterations() * text.size() * qsizetype(sizeof(QChar)));
}

BENCHMARK(bmCutMessages)->Arg(64 * kKiB)->Arg(256 * kKiB)->Arg(kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(bmReferenceCut)->Arg(64 * kKiB)->Arg(256 * kKiB)->Arg(kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(bmDecode)->Arg(kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(bmEncode)->Arg(kMiB)->Unit(benchmark::kMillisecond);

// Prints the usual table, then how many times the CPU time of cutMessages the
// copying cutter took (CPU time, as the machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const {
        for (const auto& [name, time] : times_) {
            const std::string prefix = "BM_CutMessages/";
            if (name.rfind(prefix, 0) != 0) {
                continue;
            }
            const std::string size = name.substr(prefix.size());
            const auto reference = times_.find("BM_ReferenceCut/" + size);
            if (reference != times_.end() && time > 0) {
                std::printf("read of %s characters: copying cutter takes %.0fx as long as CutMessages\n", size.c_str(),
                            reference->second / time);
            }
        }
    }

private:
    std::map<std::string, double> times_;
};

// The two cutters must agree, or the comparison means nothing.
bool cuttersAgree() {
    const QString read = busyRead(16 * kKiB);
    return torvane::cutMessages(read, false).messages == torvane::bench::referenceCut(read);
}

}  // namespace

int main(int argc, char** argv) {
    if (!cuttersAgree()) {
        std::fprintf(stderr, "CutMessages and the reference cutter disagree\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
