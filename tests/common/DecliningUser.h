// The user of a chain installation who declines each new root while answers are left: Windows asks
// to confirm a root added to the current user's "Root" and fails the add with ERROR_CANCELLED when
// the user declines; Wine never asks, so the refusal comes through the TCertApi seam. The answer to
// the question that follows ("Внимание!", a real message box) is armed before the box comes. One
// user at a time; for test programs that link pki.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <memory>
#include <string>
#include <vector>
#include "CertApi.h"
#include "MessageBoxAnswerer.h"
#include "SeamOverride.h"

class TDecliningUser {
public:
    // answers: IDYES or IDNO, one for each question in turn.
    explicit TDecliningUser(std::vector<int> answers) : answers(std::move(answers)) {
        current = this;
        seam->CertAddCertificateContextToStore = Add;
    }
    ~TDecliningUser() { current = nullptr; }
    TDecliningUser(const TDecliningUser&) = delete;
    TDecliningUser& operator=(const TDecliningUser&) = delete;

    // The texts of the questions, "<none>" for one that did not come; the watch ends here.
    std::vector<std::string> Questions() {
        std::vector<std::string> texts;
        for (auto& question : questions) {
            question->Stop();
            texts.push_back(question->Seen() ? question->Text() : "<none>");
        }
        return texts;
    }
    // How many times a self-issued certificate was added.
    int RootAdds() const { return rootAdds; }

private:
    static BOOL WINAPI Add(HCERTSTORE store, PCCERT_CONTEXT cert, DWORD disposition, PCCERT_CONTEXT* stored) {
        TDecliningUser& user = *current;
        if (CertCompareCertificateName(X509_ASN_ENCODING, &cert->pCertInfo->Subject, &cert->pCertInfo->Issuer)) {
            ++user.rootAdds;
            if (user.questions.size() < user.answers.size()) {
                user.questions.push_back(
                    std::make_unique<TMessageBoxAnswerer>("Внимание!", user.answers[user.questions.size()]));
                SetLastError(ERROR_CANCELLED);
                return FALSE;
            }
        }
        return RealCalls<TCertApi>().CertAddCertificateContextToStore(store, cert, disposition, stored);
    }

    static inline TDecliningUser* current = nullptr;
    TSeamOverride<TCertApi> seam;
    std::vector<int> answers;
    std::vector<std::unique_ptr<TMessageBoxAnswerer>> questions;
    int rootAdds = 0;
};
