#include "FileStream.h"
#include "Json.h"
#include "Text.h"
#include <algorithm>
#include <atomic>

namespace {

bool IsFile(const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A name beside the file for the text being written.
std::wstring PartName(const std::wstring& fileName) {
    static std::atomic<unsigned> counter{0};
    return fileName + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".part";
}

}  // namespace

void TJsonStreamed::SaveToStream(TJsonBase* value, TStream* stream) {
    if (value == nullptr || stream == nullptr)
        return;
    const std::wstring text = GenerateText(value);
    const char* bytes = reinterpret_cast<const char*>(text.data());
    const size_t total = text.size() * sizeof(wchar_t);
    for (size_t done = 0; done < total;) {
        const int chunk = static_cast<int>(std::min<size_t>(total - done, 1 << 24));
        stream->WriteBuffer(bytes + done, chunk);
        done += chunk;
    }
}

void TJsonStreamed::SaveToFile(TJsonBase* value, const std::wstring& fileName) {
    if (value == nullptr)
        return;
    const std::wstring part = PartName(fileName);
    try {
        {
            TFileStream file(part, fmCreate);
            SaveToStream(value, &file);
        }
        if (!MoveFileExW(part.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING))
            throw FileCreateError(fileName, GetLastError());
    } catch (const EFCreateError& e) {
        DeleteFileW(part.c_str());
        if (e.Message.find(vcl::ToAnsi(part)) == std::string::npos)
            throw;
        // The text's own file could not be made: say so of the file asked for.
        std::string message = e.Message;
        message.replace(message.find(vcl::ToAnsi(part)), vcl::ToAnsi(part).size(), vcl::ToAnsi(fileName));
        throw EFCreateError(message);
    } catch (...) {
        DeleteFileW(part.c_str());
        throw;
    }
}

TJsonBase* TJsonStreamed::LoadFromStream(TStream* stream) {
    if (stream == nullptr)
        return nullptr;
    const int64_t left = stream->Size() - stream->Position();
    if (left <= 0)
        return nullptr;
    std::wstring text(static_cast<size_t>(left / 2), L'\0');
    char* bytes = reinterpret_cast<char*>(&text[0]);
    const int64_t wanted = static_cast<int64_t>(text.size()) * 2;
    for (int64_t done = 0; done < wanted;) {
        const int chunk = static_cast<int>(std::min<int64_t>(wanted - done, 1 << 24));
        stream->ReadBuffer(bytes + done, chunk);
        done += chunk;
    }
    if (left % 2 != 0)
        stream->Seek(1, soCurrent);  // the odd last byte is no character
    return ParseText(text);
}

TJsonBase* TJsonStreamed::LoadFromFile(const std::wstring& fileName) {
    if (!IsFile(fileName))
        return nullptr;
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    return LoadFromStream(&file);
}
