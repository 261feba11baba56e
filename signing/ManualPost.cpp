#include "ManualPost.h"
#include "Conversions.h"
#include "HttpFactory.h"
#include "LocalFree.h"
#include "UrlHelpers.h"
#include "VyrnLog.h"

bool PostManually(BSTR address, const std::string& request, const TManualPost& post, std::string& answer) {
    TLocalFree<char> url(WideToAnsi(address));
    std::string host, path, scheme;
    if (url.Get() == nullptr || !SplitUrl(url.Get(), &host, &path, &scheme, nullptr))
        return false;
    VYRNLog(post.tryLine);
    const std::unique_ptr<TAllHTTP> client = CreateHttpClient(false, 0);
    if (client->Connect(host, 0) != 0)
        return false;
    client->SetHeaders(std::string("Content-Type: ") + post.contentType);
    if (client->Request(path, VerbPost, request.data(), static_cast<int>(request.size())) != 0) {
        VYRNLog(post.failureLine + client->GetLastErrorText());
        return false;
    }
    const void* body = client->GetResponse(false);
    answer.assign(body ? static_cast<const char*>(body) : "", body ? static_cast<size_t>(client->GetResponseSize()) : 0);
    return true;
}

bool PostAndImport(TMyComPtr& request, BSTR address, const TManualPost& post, TMyComPtr& answerObject,
                   std::string& answer) {
    const std::string query = VariantBytes(request.CallDispatchFunction(L"Export"));
    if (!PostManually(address, query, post, answer))
        return false;
    answerObject.CreateDispatchObject(post.answerProgId);
    ImportBytes(answerObject, answer);
    return true;
}

void SendByObject(TMyComPtr& request, const Variant& argument, TMyComPtr& answerObject) {
    TVAR_ARGS args;
    args.Add(argument);
    answerObject.AttachDispatch(request.CallDispatchFunction(L"Send", &args));
}

void ImportBytes(TMyComPtr& object, const std::string& bytes) {
    TVAR_ARGS args;
    args.Add(BytesToVariant(bytes.data(), static_cast<unsigned>(bytes.size())));
    object.CallDispatchMethod(L"Import", &args);
}

std::string TicksSince(DWORD start) {
    return std::to_string(static_cast<unsigned long>(GetTickCount() - start));
}
