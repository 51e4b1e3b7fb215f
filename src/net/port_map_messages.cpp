#include "net/port_map_messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace torvane {

namespace {

using Kind = PortMapRequest::Kind;

const std::array<std::pair<Kind, const char*>, 3> kKindWords = {{
    {Kind::Open, "open"},
    {Kind::Check, "check"},
    {Kind::Remove, "remove"},
}};

const std::array<std::pair<MappingOutcome, const char*>, 5> kOutcomeWords = {{
    {MappingOutcome::NoRouter, "norouter"},
    {MappingOutcome::Refused, "refused"},
    {MappingOutcome::PortTaken, "taken"},
    {MappingOutcome::NotPublic, "notpublic"},
    {MappingOutcome::Mapped, "mapped"},
}};

// The request's fixed words before the hold: kind, port, lease, budget.
constexpr qsizetype kRequestWords = 4;
// An exchange longer than this is no exchange the game would wait for.
constexpr int kLongestBudgetMs = 60'000;
// Mapped's words before the hold: outcome, address, port, lifetime, epoch.
constexpr qsizetype kMappedWords = 5;
const QByteArray kNoEpoch = "-";

template <typename Key, std::size_t N>
const char* wordOf(const std::array<std::pair<Key, const char*>, N>& table, Key key) {
    return std::find_if(table.begin(), table.end(), [&](const auto& row) { return row.first == key; })->second;
}

template <typename Key, std::size_t N>
std::optional<Key> keyOf(const std::array<std::pair<Key, const char*>, N>& table, QByteArrayView word) {
    const auto row = std::find_if(table.begin(), table.end(), [&](const auto& r) { return word == r.second; });
    if (row == table.end()) return std::nullopt;
    return row->first;
}

// The address, port, lifetime, epoch and hold after "mapped".
bool readMapped(const QByteArrayList& words, MappingResult& result, QByteArrayList& hold) {
    if (words.size() <= kMappedWords) return false;
    bool portIsNumber = false, lifetimeIsNumber = false, epochIsNumber = true;
    result.externalPort = words[2].toUShort(&portIsNumber);
    result.lifetime = words[3].toUInt(&lifetimeIsNumber);
    if (words[4] != kNoEpoch) result.epoch = words[4].toUInt(&epochIsNumber);
    hold = words.mid(kMappedWords);
    return portIsNumber && result.externalPort != 0 && lifetimeIsNumber && epochIsNumber;
}

}  // namespace

QStringList requestArguments(const PortMapRequest& request) {
    QStringList arguments = {QString::fromLatin1(wordOf(kKindWords, request.kind)), QString::number(request.port),
                             QString::number(request.lease), QString::number(request.budget.count())};
    for (const QByteArray& word : request.hold) arguments << QString::fromLatin1(word);
    return arguments;
}

std::optional<PortMapRequest> parseRequest(const QStringList& arguments) {
    if (arguments.size() < kRequestWords) return std::nullopt;
    const std::optional<Kind> kind = keyOf(kKindWords, arguments[0].toUtf8());
    bool portIsNumber = false, leaseIsNumber = false, budgetIsNumber = false;
    PortMapRequest request{.kind = kind.value_or(Kind::Open),
                           .port = arguments[1].toUShort(&portIsNumber),
                           .lease = arguments[2].toUInt(&leaseIsNumber),
                           .budget = std::chrono::milliseconds(arguments[3].toInt(&budgetIsNumber))};
    for (const QString& word : arguments.mid(kRequestWords)) request.hold << word.toUtf8();
    const bool valid = kind && portIsNumber && request.port != 0 && leaseIsNumber && budgetIsNumber &&
                       request.budget.count() > 0 && request.budget.count() <= kLongestBudgetMs &&
                       std::all_of(request.hold.begin(), request.hold.end(), isWord) &&
                       (request.kind == Kind::Open) == request.hold.isEmpty();
    if (!valid) return std::nullopt;
    return request;
}

QByteArray answerLine(const PortMapAnswer& answer) {
    const MappingResult& result = answer.result;
    QByteArrayList words = {wordOf(kOutcomeWords, result.outcome)};
    if (result.outcome == MappingOutcome::NotPublic || result.outcome == MappingOutcome::Mapped) {
        words << result.external.toString().toLatin1();
    }
    if (result.outcome == MappingOutcome::Mapped) {
        words << QByteArray::number(result.externalPort) << QByteArray::number(result.lifetime)
              << (result.epoch ? QByteArray::number(*result.epoch) : kNoEpoch) << answer.hold;
    }
    return words.join(' ') + '\n';
}

std::optional<PortMapAnswer> parseAnswer(QByteArrayView output) {
    if (output.size() > kLongestAnswer || !output.endsWith('\n')) return std::nullopt;
    // A newline anywhere else is no word's.
    const QByteArrayList words = output.chopped(1).toByteArray().split(' ');
    if (!std::all_of(words.begin(), words.end(), isWord)) return std::nullopt;
    const std::optional<MappingOutcome> outcome = keyOf(kOutcomeWords, words[0]);
    if (!outcome) return std::nullopt;
    PortMapAnswer answer{{*outcome}};
    const bool withAddress = *outcome == MappingOutcome::NotPublic || *outcome == MappingOutcome::Mapped;
    if (!withAddress) return words.size() == 1 ? std::optional(answer) : std::nullopt;
    if (words.size() < 2) return std::nullopt;
    answer.result.external = QHostAddress(QString::fromLatin1(words[1]));
    if (answer.result.external.protocol() != QAbstractSocket::IPv4Protocol) return std::nullopt;
    if (*outcome == MappingOutcome::NotPublic) return words.size() == 2 ? std::optional(answer) : std::nullopt;
    if (!readMapped(words, answer.result, answer.hold)) return std::nullopt;
    return answer;
}

}  // namespace torvane
