// What only the host can do: the dialog, the records it keeps, its message loop and its
// termination. The host installs hooks; without them the defaults stand in and every call is
// recorded so that tests and the command-line host can read it back.
#include "external/hostlib/HostLib.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace orb::hostlib {

namespace {

Hooks& Installed() {
    static Hooks hooks;
    return hooks;
}

Recorder& Store() {
    static Recorder recorder;
    return recorder;
}

bool DefaultDialog(Dialog& dialog) {
    if (dialog.question != "S" && dialog.question != "s") {
        dialog.answer = true;
        return true;
    }
    auto& queue = Store().queuedAnswers;
    if (queue.empty()) {
        dialog.answered = false;
        dialog.answer = false;
        return false;
    }
    dialog.answer = queue.front();
    queue.erase(queue.begin());
    return dialog.answer;
}

template <class T>
void Keep(std::vector<T>& list, T item) {
    // Dropped in blocks, so that a full list costs one move per thousand calls.
    if (list.size() >= kRecordLimit)
        list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(list.size(), 1000)));
    list.push_back(std::move(item));
}

// Runs call and records item afterwards, also when call throws.
template <class Call, class Record>
auto RecordingAfter(Call&& call, Record&& record) {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            record();
        } else {
            auto result = call();
            record();
            return result;
        }
    } catch (...) {
        record();
        throw;
    }
}

}  // namespace

bool Mensagem(std::string_view text, std::string_view caption, std::string_view third, std::string_view question,
              int kind, std::string_view sixth, std::string_view scheme, int number, fw::ClientDataSet* /*dataset*/) {
    Dialog dialog;
    dialog.text = std::string(text);
    dialog.caption = std::string(caption);
    dialog.third = std::string(third);
    dialog.question = std::string(question);
    dialog.kind = kind;
    dialog.sixth = std::string(sixth);
    dialog.scheme = std::string(scheme);
    dialog.number = number;
    // Copied: a hook may install other hooks while its dialog is open.
    auto hook = Installed().dialog;
    return RecordingAfter(
        [&] {
            bool answer = hook ? hook(dialog) : DefaultDialog(dialog);
            dialog.answer = answer;
            return answer;
        },
        [&] { Keep(Store().dialogs, dialog); });
}

bool setDocNaoFiscaisECF(std::string_view f1, std::string_view f2, std::string_view f3, std::string_view f4,
                         std::string_view f5, std::string_view f6, std::string_view f7, TDateTime dt1, TDateTime dt2,
                         std::string_view f10) {
    NonFiscalDocRecord record{std::string(f1),
                              std::string(f2),
                              std::string(f3),
                              std::string(f4),
                              std::string(f5),
                              std::string(f6),
                              std::string(f7),
                              dt1,
                              dt2,
                              std::string(f10)};
    auto hook = Installed().ledger;
    RecordingAfter(
        [&] {
            if (hook) hook(record);
        },
        [&] { Keep(Store().ledger, record); });
    return true;
}

void GravaCER(std::string_view a, std::string_view b, TDateTime when) {
    CerRecord record{std::string(a), std::string(b), when};
    auto hook = Installed().cer;
    RecordingAfter(
        [&] {
            if (hook) hook(record);
        },
        [&] { Keep(Store().cer, record); });
}

void ProcessMessages() {
    auto hook = Installed().processMessages;
    RecordingAfter(
        [&] {
            if (hook) hook();
        },
        [] { ++Store().processMessagesCalls; });
}

void TerminateApplication() {
    auto hook = Installed().terminate;
    RecordingAfter(
        [&] {
            if (hook) hook();
        },
        [] { ++Store().terminateRequests; });
}

void RecordParamName(std::string_view name) { Keep(Store().paramNames, std::string(name)); }

void InstallHooks(Hooks hooks) { Installed() = std::move(hooks); }

void ResetHooks() { Installed() = Hooks{}; }

Recorder& Recorded() { return Store(); }

void ClearRecorded() {
    Recorder& r = Store();
    r.dialogs.clear();
    r.ledger.clear();
    r.cer.clear();
    r.paramNames.clear();
    r.processMessagesCalls = 0;
    r.terminateRequests = 0;
}

void QueueAnswers(const std::vector<bool>& answers) {
    auto& queue = Store().queuedAnswers;
    queue.insert(queue.end(), answers.begin(), answers.end());
}

void ClearQueuedAnswers() { Store().queuedAnswers.clear(); }

}  // namespace orb::hostlib
