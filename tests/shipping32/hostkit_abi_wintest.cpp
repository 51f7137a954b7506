// Hostkit.dll as a host application meets it: loaded beside the program,
// its exports found by plain name and by ordinal, called with the stdcall
// convention, and the structures it fills laid out as hostkit.h says. The
// shipping build is 32-bit: there a wrong argument size in the export table
// unbalances the caller's stack, and a structure read with another layout
// writes past the caller's buffer.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hostkit/include/hostkit.h"
#include "tests/win/process.h"

#if defined(__i386__)
// Pushes `count` arguments (args[0] last, so that it lands on top), calls `f`
// and returns how many bytes of them the callee removed from the stack. A
// stdcall function removes exactly its arguments; the registers it must keep
// (esi, edi, ebx, ebp) restore the caller's stack whatever it did.
extern "C" uint32_t kx_popped_bytes(FARPROC f, const uint32_t* args, uint32_t count);
asm(R"(
  .text
  .globl _kx_popped_bytes
_kx_popped_bytes:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  pushl %edi
  pushl %ebx
  movl 16(%ebp), %ecx
  movl 12(%ebp), %edx
1:
  testl %ecx, %ecx
  jz 2f
  pushl -4(%edx,%ecx,4)
  decl %ecx
  jmp 1b
2:
  movl %esp, %edi
  call *8(%ebp)
  movl %esp, %eax
  subl %edi, %eax
  leal -12(%ebp), %esp
  popl %ebx
  popl %edi
  popl %esi
  popl %ebp
  ret
)");
#endif

namespace kx::test {
namespace {

struct ExportEntry {
  std::string name;
  int argument_bytes = 0;
  int ordinal = 0;  // 0: exported by name only
};

// The export lines of hostkit.def: "  Name@8" or "  Name@16 @27".
std::vector<ExportEntry> ReadExportTable() {
  std::ifstream def(KX_HOSTKIT_DEF);
  std::vector<ExportEntry> entries;
  std::string line;
  while (std::getline(def, line)) {
    line = line.substr(0, line.find(';'));
    if (line.empty() || (line[0] != ' ' && line[0] != '\t')) continue;
    std::istringstream fields(line);
    std::string decorated, ordinal;
    fields >> decorated >> ordinal;
    const size_t at = decorated.find('@');
    if (at == std::string::npos || at == 0) continue;
    ExportEntry entry;
    entry.name = decorated.substr(0, at);
    entry.argument_bytes = std::stoi(decorated.substr(at + 1));
    if (ordinal.size() > 1 && ordinal[0] == '@') entry.ordinal = std::stoi(ordinal.substr(1));
    entries.push_back(entry);
  }
  return entries;
}

class HostkitAbiWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA((TestProgramFolder() + "..\\bin\\Hostkit.dll").c_str());
    ASSERT_NE(module_, nullptr) << "error " << GetLastError();
    exports_ = ReadExportTable();
    ASSERT_FALSE(exports_.empty()) << "no exports read from " << KX_HOSTKIT_DEF;
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  FARPROC Find(const std::string& name) const { return GetProcAddress(module_, name.c_str()); }

  // An entry point as the type hostkit.h declares it.
  template <typename Function>
  Function As(FARPROC f) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(f));
  }

  HMODULE module_ = nullptr;
  std::vector<ExportEntry> exports_;
};

TEST_F(HostkitAbiWinTest, EveryExportIsFoundByItsPlainNameAndItsFixedOrdinal) {
  for (const ExportEntry& entry : exports_) {
    SCOPED_TRACE(entry.name);
    const FARPROC by_name = Find(entry.name);
    EXPECT_NE(by_name, nullptr);
    // A host looks the plain name up; the decorated one must not be there
    // instead (a DLL linked without --kill-at exports "Name@N").
    EXPECT_EQ(Find(entry.name + "@" + std::to_string(entry.argument_bytes)), nullptr);
    if (entry.ordinal != 0) {
      EXPECT_EQ(GetProcAddress(module_, MAKEINTRESOURCEA(entry.ordinal)), by_name);
    }
  }
}

#if defined(__i386__)
TEST_F(HostkitAbiWinTest, EachExportRemovesExactlyItsArgumentBytesFromTheStack) {
  // The exports that answer all-zero arguments (null pointers, no handle,
  // library code 0) without showing anything or keeping anything.
  const char* const callable[] = {
      "EnvChk_GetGLSpec",        "GetVideoMemory",            "ConformDeviceAcceptable",
      "ConformDeviceAcceptableEx", "GetAvailableMultiSampleLevel", "QNDFrameDelete",
      "QNDFrameDraw",            "QNDFrameSetColor",          "QNDFrameSetImage",
      "QNDFrameLoadImage",
  };
  const uint32_t zeros[16] = {};
  int checked = 0;
  for (const ExportEntry& entry : exports_) {
    bool listed = false;
    for (const char* name : callable) listed = listed || entry.name == name;
    if (!listed) continue;
    SCOPED_TRACE(entry.name);
    const FARPROC f = Find(entry.name);
    ASSERT_NE(f, nullptr);
    ASSERT_LE(entry.argument_bytes / 4, 16);
    EXPECT_EQ(kx_popped_bytes(f, zeros, entry.argument_bytes / 4),
              static_cast<uint32_t>(entry.argument_bytes));
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(sizeof(callable) / sizeof(callable[0])));
}
#endif

// Guard bytes after a structure that Hostkit fills: a callee with another
// idea of its size writes into them.
template <typename T>
struct Guarded {
  Guarded() { std::memset(this, 0xCD, sizeof(*this)); }
  bool GuardIntact() const {
    for (unsigned char byte : guard)
      if (byte != 0xCD) return false;
    return true;
  }
  T value;
  unsigned char guard[64];
};

TEST_F(HostkitAbiWinTest, FilledStructuresStayInsideTheirDeclaredSize) {
  using GetBoardInfo = int32_t(WINAPI*)(VideoBoardInfo*);
  using GetVideoMemoryFn = int32_t(WINAPI*)(double*);
  using GetGLSpec = int32_t(WINAPI*)(const char*, int32_t, EnvChkGLSpec*, char*);
  const auto board_info = As<GetBoardInfo>(Find("GetVideoBoradInfo"));
  const auto video_memory = As<GetVideoMemoryFn>(Find("GetVideoMemory"));
  const auto gl_spec = As<GetGLSpec>(GetProcAddress(module_, MAKEINTRESOURCEA(27)));
  ASSERT_TRUE(board_info && video_memory && gl_spec);

  Guarded<VideoBoardInfo> board;
  board.value.ChipType[0] = '\0';
  board.value.VideoMemory = -2.0;
  const int32_t found = board_info(&board.value);
  EXPECT_TRUE(board.GuardIntact());
  if (found == 1) {
    EXPECT_NE(std::memchr(board.value.ChipType, '\0', sizeof(board.value.ChipType)), nullptr);
    double memory = -3.0;
    EXPECT_EQ(video_memory(&memory), 1);
    // The same double, read at the same offset by both: -1.0 when unstated.
    if (board.value.VideoMemory != -2.0) {
      EXPECT_EQ(memory, board.value.VideoMemory);
    }
  }

  Guarded<EnvChkGLSpec> spec;
  char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES + 64];
  std::memset(chip, 0xCD, sizeof(chip));
  const std::string folder = TestProgramFolder() + "..\\bin\\";
  ASSERT_EQ(gl_spec(folder.c_str(), 1, &spec.value, chip), 0);
  EXPECT_TRUE(spec.GuardIntact());
  for (size_t i = HOSTKIT_GLSPEC_CHIPTYPE_BYTES; i < sizeof(chip); ++i)
    ASSERT_EQ(static_cast<unsigned char>(chip[i]), 0xCD) << "chip type written past its size";
  EXPECT_NE(std::memchr(chip, '\0', HOSTKIT_GLSPEC_CHIPTYPE_BYTES), nullptr);
  // Fields read at their offsets keep the relations the header states.
  EXPECT_EQ(spec.value.DirectXCapable, spec.value.DirectX);
  EXPECT_EQ(spec.value.DirectX9cCapable, spec.value.DirectX9c);
  for (int32_t flag : {spec.value.AntiAliasAcceptable, spec.value.ShadowMapAcceptable,
                       spec.value.PhongShadingAcceptable, spec.value.PhongCheck,
                       spec.value.DirectX, spec.value.DirectX9c}) {
    EXPECT_TRUE(flag == 0 || flag == 1) << flag;
  }
  EXPECT_TRUE(spec.value.VideoMemory == -1.0 || spec.value.VideoMemory > 0.0)
      << spec.value.VideoMemory;
}

TEST_F(HostkitAbiWinTest, TheImportLibraryByNameReachesTheSameEntryPoints) {
  // Linked at load time through libhostkit_import.a, as the host links.
  const std::string engine = TestProgramFolder() + "..\\bin\\KX3D.dll";
  using GetGLType = int32_t(WINAPI*)(const char*);
  const auto by_ordinal = As<GetGLType>(GetProcAddress(module_, MAKEINTRESOURCEA(28)));
  ASSERT_NE(by_ordinal, nullptr);
  const int32_t type = EnvChk_GetGLType(engine.c_str());
  EXPECT_EQ(type, 3);  // the installed engine's library code
  EXPECT_EQ(by_ordinal(engine.c_str()), type);
  EXPECT_EQ(EnvChk_GetGLType("no such engine.drx"), 0);
}

}  // namespace
}  // namespace kx::test
