#include "SignLowRun.h"
#include "CmsOnDer.h"

namespace {
std::vector<std::string>* Reports = nullptr;

void __stdcall Progress(const char* text, int value) {
    if (Reports)
        Reports->push_back(std::string(text) + (value == 0 ? "" : " value " + std::to_string(value)));
}
}  // namespace

TSignLowRun RunSignLow(const std::string& data, PCCERT_CONTEXT signer, const TSignOptions& options) {
    TSignLowRun run;
    std::string buffer(2 * SignLowErrorTextCapacity, UntouchedByte);
    BYTE* message = reinterpret_cast<BYTE*>(1);  // set to null first, whatever it held
    DWORD length = 0;
    Reports = &run.progress;
    // Switches with a high byte set and a low byte clear are off.
    const auto slot = [](bool on) { return on ? 0x00000001u : 0x00000100u; };
    run.result = SignLow(reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), &message, &length,
                         signer, options.pin, slot(options.timeStamp), slot(options.ocsp), slot(options.detached),
                         slot(options.keyPeriod), slot(options.cacheKey), &buffer[0], Progress);
    Reports = nullptr;
    ForgetChangedMessages();
    run.messageNull = message == nullptr;
    if (message != nullptr) {
        run.message.assign(reinterpret_cast<const char*>(message), length);
        run.localBlock = LocalSize(message) >= length;
        LocalFree(message);
    }
    run.errorText = buffer.c_str();
    run.buffer = buffer;
    return run;
}
