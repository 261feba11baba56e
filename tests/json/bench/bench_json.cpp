// Benchmark of the JSON library against nlohmann::json (Debian's nlohmann-json3-dev, compiled
// with the same toolchain) on the same generated documents: parse, compact and indented
// generation, the lookup of every name of a large object (in a tree already asked once, and in a
// fresh one with its parse: the index is built on the first lookup); throughput, peak heap, and the growth
// of time with a document 10 times larger. Not a test: tools/bench-json.sh runs it.
#include "Json.h"
#include <nlohmann/json.hpp>
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

// Every allocation is counted, so that a parse's peak heap can be read.
namespace {
size_t heapNow = 0, heapPeak = 0;
}

void* operator new(size_t size) {
    auto* block = static_cast<size_t*>(std::malloc(size + 16));
    if (!block)
        throw std::bad_alloc();
    *block = size;
    heapNow += size;
    heapPeak = std::max(heapPeak, heapNow);
    return reinterpret_cast<char*>(block) + 16;
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    auto* block = reinterpret_cast<size_t*>(static_cast<char*>(p) - 16);
    heapNow -= *block;
    std::free(block);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

struct Measure {
    double seconds;
    size_t peak;
};

// The best time of a few runs, and the peak heap above what was in use before.
Measure Run(const std::function<void()>& work) {
    Measure best{1e30, 0};
    for (int i = 0; i < 5; ++i) {
        const size_t base = heapNow;
        heapPeak = heapNow;
        const double start = Seconds();
        work();
        best.seconds = std::min(best.seconds, Seconds() - start);
        best.peak = std::max(best.peak, heapPeak - base);
    }
    return best;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Records(int n) {
    std::string s = "[";
    for (int i = 0; i < n; ++i) {
        if (i)
            s += ",";
        s += "{\"id\":" + std::to_string(i) + ",\"name\":\"user " + std::to_string(i) +
             "\",\"active\":" + (i % 2 ? "true" : "false") + ",\"score\":" + std::to_string(i * 0.25) +
             ",\"tags\":[\"a\",\"bc\"],\"parent\":null}";
    }
    return s + "]";
}

std::string Numbers(int n) {
    std::string s = "[";
    unsigned x = 12345;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        char number[32];
        snprintf(number, sizeof number, "%s%u.%03ue%d", i ? "," : "", x % 100000, x % 1000,
                 static_cast<int>(x % 21) - 10);
        s += number;
    }
    return s + "]";
}

std::string Names(int n) {
    std::string s = "{";
    for (int i = 0; i < n; ++i)
        s += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":" + std::to_string(i);
    return s + "}";
}

std::string LongStrings(int n) {
    std::string s = "[";
    for (int i = 0; i < n; ++i) {
        s += i ? ",\"" : "\"";
        for (int k = 0; k < 10000; ++k)
            s += k % 100 == 99 ? "\\n" : std::string(1, static_cast<char>('a' + k % 26));
        s += "\"";
    }
    return s + "]";
}

std::string Deep(int n) {
    std::string s = "[";
    for (int i = 0; i < n; ++i) {
        if (i)
            s += ",";
        s += std::string(100, '[') + "1" + std::string(100, ']');
    }
    return s + "]";
}

// Indented text of deep nesting grows with the square of the depth (each line is indented by its
// depth): that document is written compactly only.
struct Document {
    const char* name;
    std::string (*make)(int);
    int size;
    bool indented;
};

void Row(const char* document, const char* operation, size_t bytes, const Measure& ours, const Measure& peer,
         double oursGrowth, double peerGrowth) {
    printf("| %-12s | %-9s | %8.2f | %8.1f | %8.1f | %8.1f | %8.1f | %5.1f | %5.1f |\n", document, operation,
           bytes / 1e6, bytes / 1e6 / ours.seconds, bytes / 1e6 / peer.seconds, ours.peak / 1e6, peer.peak / 1e6,
           oursGrowth, peerGrowth);
}

}  // namespace

int main() {
    const Document documents[] = {
        {"records", Records, 20000, true},        {"numbers", Numbers, 200000, true}, {"names", Names, 100000, true},
        {"long strings", LongStrings, 200, true}, {"deep (100)", Deep, 1000, false},
    };
    printf(
        "Throughput in MB/s of JSON text (1 character = 1 byte here), peak heap in MB, growth = time\n"
        "of the document 10 times larger / time of this one (10 is linear); cold look: parse, every\n"
        "lookup, free.\n\n");
    printf("| %-12s | %-9s | %8s | %8s | %8s | %8s | %8s | %5s | %5s |\n", "document", "operation", "MB", "ours",
           "peer", "ours MB", "peer MB", "ours", "peer");
    printf("|--------------|-----------|----------|----------|----------|----------|----------|-------|-------|\n");
    for (const Document& d : documents) {
        Measure ours[2][5], peer[2][5];
        size_t bytes[2];
        for (int scale = 0; scale < 2; ++scale) {
            const std::string utf8 = d.make(scale ? d.size * 10 : d.size);
            const std::wstring text = Wide(utf8);
            bytes[scale] = utf8.size();
            ours[scale][0] = Run([&] { delete TJson::ParseText(text); });
            peer[scale][0] = Run([&] { const nlohmann::json parsed = nlohmann::json::parse(utf8); });
            TJsonBase* tree = TJson::ParseText(text);
            const nlohmann::json json = nlohmann::json::parse(utf8);
            if (!tree) {
                printf("%s does not parse\n", d.name);
                return 1;
            }
            ours[scale][1] = Run([&] { TJson::GenerateText(tree); });
            peer[scale][1] = Run([&] { json.dump(); });
            if (d.indented) {
                ours[scale][2] = Run([&] {
                    int level = 0;
                    GenerateReadableText(tree, level);
                });
                peer[scale][2] = Run([&] { json.dump(2); });
            }
            if (d.make == Names) {
                const int n = scale ? d.size * 10 : d.size;
                auto* object = static_cast<TJsonObject*>(tree);
                long found = 0;
                auto oursLookups = [&](TJsonObject* object) {
                    for (int i = 0; i < n; ++i)
                        found += object->OldGetField(L"k" + std::to_wstring(i)) != nullptr;
                };
                auto peerLookups = [&](const nlohmann::json& json) {
                    for (int i = 0; i < n; ++i)
                        found += json.find("k" + std::to_string(i)) != json.end();
                };
                ours[scale][3] = Run([&] { oursLookups(object); });
                peer[scale][3] = Run([&] { peerLookups(json); });
                ours[scale][4] = Run([&] {
                    TJsonBase* fresh = TJson::ParseText(text);
                    oursLookups(static_cast<TJsonObject*>(fresh));
                    delete fresh;
                });
                peer[scale][4] = Run([&] { peerLookups(nlohmann::json::parse(utf8)); });
                if (found != 20L * n)
                    printf("lookups found %ld of %d\n", found / 20, n);
            }
            delete tree;
        }
        const char* operations[] = {"parse", "compact", "indented", "lookups", "cold look"};
        for (int op = 0; op < (d.make == Names ? 5 : 3); ++op)
            if (op != 2 || d.indented)
                Row(d.name, operations[op], bytes[0], ours[0][op], peer[0][op],
                    ours[1][op].seconds / ours[0][op].seconds, peer[1][op].seconds / peer[0][op].seconds);
    }
    return 0;
}
