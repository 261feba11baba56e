#include "AnsiString.h"
#include "Exception.h"
#include "Text.h"

AnsiString::AnsiString(const std::wstring& wide) : text(vcl::ToAnsi(wide)) {}

std::wstring AnsiString::ToWide() const {
    return vcl::ToWide(text);
}

char AnsiString::operator[](int index) const {
    if (index < 1 || index > Length())
        throw ERangeError();
    return text[index - 1];
}

char& AnsiString::operator[](int index) {
    if (index < 1 || index > Length())
        throw ERangeError();
    return text[index - 1];
}

int AnsiString::Pos(const AnsiString& part) const {
    if (part.text.empty())
        return 0;
    const size_t at = text.find(part.text);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

AnsiString AnsiString::SubString(int index, int count) const {
    if (index < 1) {
        count += index - 1;
        index = 1;
    }
    if (count <= 0 || index > Length())
        return {};
    return AnsiString(text.substr(index - 1, count));
}
