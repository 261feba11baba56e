// The one-letter escapes of JSON strings: the letter after the backslash and the character it
// stands for. The generators write these; the parser also reads \' as '.
#pragma once

struct TJsonEscape {
    wchar_t letter;
    wchar_t character;
};

constexpr TJsonEscape JsonEscapes[] = {{L'"', L'"'},  {L'\\', L'\\'}, {L'/', L'/'},  {L'b', L'\b'},
                                       {L'f', L'\f'}, {L'n', L'\n'},  {L'r', L'\r'}, {L't', L'\t'}};
