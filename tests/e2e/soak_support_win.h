// Long runs of a whole user path: how many cycles to run and what another
// program can see of a running program's resources (GDI objects, resident
// memory, windows), read from outside it.
#pragma once
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "harness_win.h"

namespace e2e::soak {

// VARDO_SOAK_CYCLES, or the short run CI makes. A soak allows fewer kept GDI
// objects than the cycles it ran (at most 20), so that one object kept by
// each cycle fails it however short the run.
inline int Cycles(int fallback = 25) {
  wchar_t buf[16];
  const DWORD n = GetEnvironmentVariableW(L"VARDO_SOAK_CYCLES", buf, 16);
  if (n == 0 || n >= 16) return fallback;
  const int v = _wtoi(buf);
  return v > 0 ? v : fallback;
}

// GDI objects of a process. Windows counts them (GetGuiResources); Wine's
// GetGuiResources returns 0, and there the process's own handle table is
// read instead, the way GDI inspectors read it on Windows: the PEB names
// it, and every entry in use carries its object type.
struct GdiCount {
  long objects = -1;  // -1: could not be read
  const char* source = "none";
  // Objects by type (from the handle table only): DCs 1, regions 4,
  // bitmaps 5, palettes 8, fonts 10, brushes 16, pens 48 and so on.
  std::map<int, long> by_type;
};

namespace detail {
// One entry of the GDI handle table (the same 24-byte layout on Windows
// x64 and in Wine).
struct GdiHandleEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle table entry");
constexpr size_t kGdiHandleEntries = 0x10000;
constexpr size_t kPebGdiTable = 0xF8;  // PEB.GdiSharedHandleTable on x64

inline uint64_t GdiTableOf(HANDLE process) {
  using Query = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(process, 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) != 0) return 0;
  uint64_t table = 0;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, static_cast<const char*>(static_cast<const void*>(info.PebBaseAddress)) + kPebGdiTable,
                         &table, sizeof table, &got) ||
      got != sizeof table)
    return 0;
  return table;
}
}  // namespace detail

inline GdiCount GdiObjects(HANDLE process) {
  if (const DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return {static_cast<long>(n), "GetGuiResources"};
  const uint64_t table = detail::GdiTableOf(process);
  if (!table) return {};
  // Read in blocks; the table may be committed only as far as it was used.
  constexpr size_t kBlock = 4096;
  std::vector<detail::GdiHandleEntry> block(kBlock);
  GdiCount count{0, "GDI handle table", {}};
  for (size_t first = 0; first < detail::kGdiHandleEntries; first += kBlock) {
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table + first * sizeof(detail::GdiHandleEntry)),
                           block.data(), kBlock * sizeof(detail::GdiHandleEntry), &got) ||
        got != kBlock * sizeof(detail::GdiHandleEntry)) {
      if (first == 0) return {};
      break;
    }
    for (const auto& e : block)
      if (e.type != 0) {
        ++count.objects;
        ++count.by_type[e.type];
      }
  }
  return count;
}

// Resident memory (the working set). Under Wine this is the resident set
// of the program's Linux process (VmRSS, which the Wine server reads from
// /proc for it).
inline int64_t ResidentBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pm{};
  pm.cb = sizeof pm;
  if (!GetProcessMemoryInfo(process, &pm, sizeof pm)) return -1;
  return static_cast<int64_t>(pm.WorkingSetSize);
}

// Under Wine on a kernel that backs memory with 2 MB pages whenever it can,
// resident sizes grow in 2 MB steps and keep growing while khugepaged fills
// partly used regions, whatever the program keeps: a note saying so when it
// is the case for this process (and so for the programs it starts, which
// inherit the setting), empty otherwise and on Windows. The test scripts
// turn huge pages off for the tests.
inline std::string HugePagesNote() {
  std::ifstream sys("Z:\\sys\\kernel\\mm\\transparent_hugepage\\enabled");
  std::string mode;
  if (!std::getline(sys, mode) || mode.find("[always]") == std::string::npos) return {};
  std::ifstream status("Z:\\proc\\self\\status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("THP_enabled:", 0) == 0 && line.find('1') != std::string::npos)
      return "transparent huge pages are on for every allocation here, so resident sizes grow in 2 MB steps "
             "(run the tests through scripts/test.sh or scripts/soak.sh, which turn them off)";
  return {};
}

// Every window of the process: top-level ones, hidden too, and all their
// descendants.
inline int WindowCount(DWORD pid) {
  int n = 0;
  for (HWND w : TopWindows(pid, false)) n += 1 + static_cast<int>(ChildWindows(w, false).size());
  return n;
}

// One reading of everything a soak compares.
struct Reading {
  GdiCount gdi;
  int64_t resident = -1;
  int windows = 0;
};

// A handle for reading another process's counters and memory.
class Observer {
 public:
  explicit Observer(DWORD pid)
      : pid_(pid), process_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid)) {}
  ~Observer() {
    if (process_) CloseHandle(process_);
  }
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;
  bool ok() const { return process_ != nullptr; }
  Reading Read() const { return {GdiObjects(process_), ResidentBytes(process_), WindowCount(pid_)}; }
  DWORD gui_resources() const { return GetGuiResources(process_, GR_GDIOBJECTS); }

 private:
  DWORD pid_;
  HANDLE process_;
};

inline std::string Mb(int64_t bytes) {
  char buf[32];
  snprintf(buf, sizeof buf, "%.2f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return buf;
}

}  // namespace e2e::soak
