// Windows test of ToExcel's automation conversation: with the stand-in
// server (automation_server.cpp) registered as "Excel.Application", calls
// ToExcel of zentrik.dll on a 2 x 3 table and on an empty one, then prints
// the conversation the server logged and whether the thread's COM state is
// as before. scripts/windows-test.sh compares the output with
// automation.expected.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

using ExportFn = void(__stdcall*)(const double* const*, std::int32_t, std::int32_t);

void PrintLog() {
    std::FILE* file = std::fopen("automation.log", "rb");
    if (file == nullptr) {
        std::printf("no conversation logged\n");
        return;
    }
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) std::putchar(c);
    std::fclose(file);
}

}  // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);  // the log's own line ends
    std::remove("automation.log");
    HMODULE library = LoadLibraryA("zentrik.dll");
    if (library == nullptr) {
        std::printf("cannot load zentrik.dll\n");
        return 2;
    }
    FARPROC address = GetProcAddress(library, "ToExcel");
    if (address == nullptr) {
        std::printf("ToExcel not exported\n");
        return 2;
    }
    ExportFn toExcel = nullptr;
    std::memcpy(&toExcel, &address, sizeof toExcel);

    const double row0[] = {90.125, 0.1, 0.00001};
    const double row1[] = {0.000001, 0.0, -2.5};
    const double* const table[] = {row0, row1};
    toExcel(table, 2, 3);
    toExcel(table, 0, 0);
    PrintLog();

    // ToExcel initialised COM for itself and undid it: the thread is
    // without COM again, so this initialisation is the first.
    const HRESULT first = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::printf("COM on the calling thread afterwards: %s\n", first == S_OK ? "not initialised" : "STILL INITIALISED");
    if (SUCCEEDED(first)) CoUninitialize();
    std::fflush(stdout);
    return 0;
}
