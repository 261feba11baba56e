// What the time-stamp and OCSP client objects share: the request's five members and the answer's
// Import and Export.
#include <utility>
#include "Objects.h"

namespace {
enum { RequestAddress, RequestSubject, RequestExport, RequestSend, RequestStatus };
enum { AnswerImport, AnswerExport, AnswerOwn };

std::vector<TMember> AnswerMembers(const std::vector<TMember>& own) {
    std::vector<TMember> members = {{L"Import", MemberMethod, {VT_BSTR}}, {L"Export", MemberMethod, {}}};
    members.insert(members.end(), own.begin(), own.end());
    return members;
}
}  // namespace

TServiceAnswerObject::TServiceAnswerObject(const TServiceAnswerKind& kind)
    : TAutomationObject(kind.progId, AnswerMembers(kind.ownMembers)), kind(kind) {}

void TServiceAnswerObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    if (member == AnswerImport) {
        Take(BstrBytes(arguments[0].bstrVal));
        return;
    }
    if (kept.empty())
        throw TMemberFailure{E_UNEXPECTED, kind.notLoaded};
    if (member == AnswerExport) {
        result.vt = VT_BSTR;
        result.bstrVal = BytesToBstr(kept);
        return;
    }
    kind.callOwn(member - AnswerOwn, kept, arguments, result);
}

TServiceRequestObject::TServiceRequestObject(const TServiceRequestKind& kind)
    : TAutomationObject(kind.progId, {{kind.addressName, MemberPut, {VT_BSTR}},
                                      {kind.subjectName, kind.subjectKind, {VT_DISPATCH}},
                                      {L"Export", MemberMethod, {}},
                                      {L"Send", MemberMethod, {kind.sendArgument}},
                                      {L"HTTPStatus", MemberGet, {}}}),
      kind(kind) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    nonce.assign(reinterpret_cast<const char*>(&counter), sizeof counter);
}

const std::string& TServiceRequestObject::Encoded() const {
    if (encoded.empty())
        throw TMemberFailure{E_UNEXPECTED, kind.notGiven};
    return encoded;
}

std::wstring TServiceRequestObject::Destination() const {
    if (!address.empty())
        return address;
    return kind.service != nullptr ? kind.service() : responder;
}

void TServiceRequestObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    switch (member) {
    case RequestAddress:
        address.assign(arguments[0].bstrVal, SysStringLen(arguments[0].bstrVal));
        break;
    case RequestSubject: {
        std::wstring subjectResponder;
        encoded = kind.encode(arguments[0].pdispVal, nonce, subjectResponder);
        responder = subjectResponder;
        break;
    }
    case RequestExport:
        result.vt = VT_BSTR;
        result.bstrVal = BytesToBstr(Encoded());
        break;
    case RequestSend: {
        const THttpAnswer answer = PostRequest(Destination(), kind.contentType, Encoded());
        status = static_cast<long>(answer.status);
        auto* object = new TServiceAnswerObject(kind.answer);
        if (answer.status == 200) {
            try {
                object->Take(answer.body);
            } catch (...) {
                object->Release();
                throw;
            }
        }
        ResultObject(result, object);
        break;
    }
    default:
        result.vt = VT_I4;
        result.lVal = status;
    }
}
