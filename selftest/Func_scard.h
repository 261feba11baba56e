// Finds the reader that holds the inserted smart card through the smart-card service.
// Every step leaves a line in the window logger. Results: 0, a smart-card service code, or -1.
// The reason of a failure goes into *errorText (to VYRNLog when errorText is null).
#pragma once
#include <windows.h>
#include <winscard.h>
#include <string>
#include <vector>

// reader: empty on entry; after a success the name of the reader with the card, or empty when
// no reader holds one.
int FindCardReader(std::string& reader, std::string* errorText);

// More than one inserted card: -1 ("Обнаружено несколько карт..."), reader left at the first one.
int FindReaderWithCard(SCARDCONTEXT context, std::string& reader, std::string* errorText);

// Connects (shared, else direct, else exclusive), reads the state, disconnects leaving the card.
int IsCardInReader(SCARDCONTEXT context, const char* reader, DWORD& state, std::string* errorText);

// Clears readers first; names in the service's order.
int ListCardReaders(SCARDCONTEXT context, std::vector<std::string>& readers, std::string* errorText);
