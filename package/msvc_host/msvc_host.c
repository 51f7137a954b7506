/* A host built the way Visual C++ builds one: compiled for the MSVC target,
 * linked by a Microsoft-format linker against the SDK's hostkit.lib, with no
 * C run-time library at all (this file brings its own entry point). It
 * calls exports of several families through the stdcall convention, checks
 * what comes back, prints one line per check and exits with the number of
 * failed checks.
 *
 *   msvc_host.exe             Hostkit.dll, kx3d.dll and data\ in ..\bin\
 *
 * Built with MSVC_HOST_ORDINALS it links hostkit_ordinals.lib instead and
 * calls only the two environment-check exports, by ordinal.
 *
 * Texts are ASCII: this compiler has no Shift-JIS execution character set. */
#include <stdarg.h>

#include "hostkit.h"

/* What a C run-time library would define: the marker that the program uses
 * floating point. */
int _fltused = 0;

static HANDLE g_out;
static int g_failures;
static char g_bin[MAX_PATH]; /* ..\bin\ beside the program's folder */

static void Print(const char* format, ...) {
  char line[1100];
  va_list args;
  int length;
  DWORD written;
  va_start(args, format);
  length = wvsprintfA(line, format, args);
  va_end(args);
  if (length < 0) return;
  line[length++] = '\n';
  WriteFile(g_out, line, (DWORD)length, &written, NULL);
}

static void Expect(const char* what, LONG_PTR got, LONG_PTR expected) {
  if (got == expected) {
    Print("ok     %s = %ld", what, (long)got);
  } else {
    ++g_failures;
    Print("FAILED %s = %ld, expected %ld", what, (long)got, (long)expected);
  }
}

static void Path(char* path, const char* name) {
  lstrcpyA(path, g_bin);
  lstrcatA(path, name);
}

static void Capabilities(void) {
  char path[MAX_PATH + 32], chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES];
  EnvChkGLSpec spec;
  /* The stand-in engine's files for the OpenGL and the DirectX libraries. */
  Path(path, "kx3dlib\\kx3d.ogl");
  Expect("EnvChk_GetGLType(kx3d.ogl)", EnvChk_GetGLType(path), HOSTKIT_LIBRARY_OPENGL);
  Path(path, "kx3dlib\\kx3d.drx");
  Expect("EnvChk_GetGLType(kx3d.drx)", EnvChk_GetGLType(path), HOSTKIT_LIBRARY_DIRECTX);
  Path(path, "kx3dlib\\none.dll");
  Expect("EnvChk_GetGLType(none.dll)", EnvChk_GetGLType(path), 0);

  spec.DirectX = -7;
  spec.DirectXCapable = -7;
  Expect("EnvChk_GetGLSpec", EnvChk_GetGLSpec(g_bin, 1, &spec, chip), 0);
  Expect("EnvChk_GetGLSpec DirectXCapable == DirectX", spec.DirectXCapable == spec.DirectX, 1);
  Expect("EnvChk_GetGLSpec DirectX is a flag", spec.DirectX == 0 || spec.DirectX == 1, 1);
  Expect("EnvChk_GetGLSpec(null spec)", EnvChk_GetGLSpec(g_bin, 1, NULL, chip), -1);
}

#ifndef MSVC_HOST_ORDINALS

/* The bytes of a byte string against a C string and a byte count. */
static void ExpectBytes(const char* what, BSTR text, const char* expected, UINT length) {
  const char* bytes = (const char*)text;
  UINT i;
  BOOL same = text != NULL && SysStringByteLen(text) == length;
  for (i = 0; same && i < length; ++i) same = bytes[i] == expected[i];
  if (same) {
    Print("ok     %s = \"%s\" (%u bytes)", what, expected, length);
  } else {
    ++g_failures;
    Print("FAILED %s = \"%s\" (%u bytes), expected \"%s\" (%u bytes)", what,
          text ? bytes : "(null)", text ? SysStringByteLen(text) : 0u, expected, length);
  }
}

/* The DLL's version resource against the header's version. */
static void Version(void) {
  char path[MAX_PATH];
  DWORD ignored = 0, size;
  void* info;
  VS_FIXEDFILEINFO* fixed = NULL;
  UINT length = 0;
  if (!GetModuleFileNameA(GetModuleHandleA("Hostkit.dll"), path, MAX_PATH)) {
    Expect("GetModuleFileNameA(Hostkit.dll)", 0, 1);
    return;
  }
  size = GetFileVersionInfoSizeA(path, &ignored);
  info = size ? HeapAlloc(GetProcessHeap(), 0, size) : NULL;
  if (info == NULL || !GetFileVersionInfoA(path, 0, size, info) ||
      !VerQueryValueA(info, "\\", (void**)&fixed, &length) || length < sizeof *fixed) {
    Expect("Hostkit.dll version resource", 0, 1);
  } else {
    Expect("Hostkit.dll major", HIWORD(fixed->dwFileVersionMS), HOSTKIT_VERSION_MAJOR);
    Expect("Hostkit.dll minor", LOWORD(fixed->dwFileVersionMS), HOSTKIT_VERSION_MINOR);
    Expect("Hostkit.dll patch", HIWORD(fixed->dwFileVersionLS), HOSTKIT_VERSION_PATCH);
  }
  if (info != NULL) HeapFree(GetProcessHeap(), 0, info);
}

typedef int32_t(WINAPI* InitializeProc)(void);
typedef int32_t(WINAPI* ReadHeaderProc)(const char*, int32_t*, int32_t*, int32_t*, int32_t*);
typedef int32_t(WINAPI* ReadModelProc)(int32_t, const char*, char*, int32_t, int32_t*);
typedef int32_t(WINAPI* TerminateProc)(void);
#define ENGINE_ENTRY(type, name) ((type)(void (*)(void))GetProcAddress(engine, name))

/* The engine loaded by the host with the test model, then the parts
 * attributes read and changed through Hostkit, which uses that engine. */
static void Parts(void) {
  char path[MAX_PATH + 32], message[512];
  int32_t version = 0, parts = 0, triangles = 0, handle = -1, read = 0, count = 0;
  HMODULE engine;
  InitializeProc initialize;
  ReadHeaderProc readHeader;
  ReadModelProc readModel;
  PartsAttributeBlock* head;
  PartsAttributeBlock* block;
  BSTR text = NULL;
  VARIANT value;

  Path(path, "kx3d.dll");
  engine = LoadLibraryA(path);
  initialize = ENGINE_ENTRY(InitializeProc, "Kxi_Initialize");
  readHeader = ENGINE_ENTRY(ReadHeaderProc, "Kxi_ReadModelHeader");
  readModel = ENGINE_ENTRY(ReadModelProc, "Kxi_ReadModelFile");
  if (engine == NULL || !initialize || !readHeader || !readModel || initialize() != 0) {
    Expect("the engine kx3d.dll starts", 0, 1);
    return;
  }
  Path(path, "data\\test.q3d");
  readHeader(path, &version, &parts, &triangles, &handle);
  message[0] = '\0';
  Expect("the engine reads test.q3d", readModel(-1, path, message, handle, &read), 0);

  head = CollectPartsAttributeBlocks(0, HOSTKIT_COLLECT_MERGE, &count, 0);
  Expect("CollectPartsAttributeBlocks gives a list", head != NULL, 1);
  Expect("GetPartsAttributeBlockNum == count", GetPartsAttributeBlockNum(head), count);
  block = GetNextPartsAttributeBlock(head);
  Expect("GetNextPartsAttributeBlock", block != NULL, 1);
  if (block != NULL) {
    /* A byte string whose length counts its terminating NUL. */
    Expect("GetPartsAttribute(name)",
           GetPartsAttribute(block, HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_TEXT, 1), &text), 1);
    ExpectBytes("GetPartsAttribute text", text, "ground", 7);

    VariantInit(&value);
    Expect("GetPartsAttributeVar(count)",
           GetPartsAttributeVar(block, HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_COUNT, 0), &value), 1);
    Expect("GetPartsAttributeVar(count) type", V_VT(&value), VT_I4);
    VariantClear(&value);

    /* A record text set from a byte string and read back. */
    SysFreeString(text);
    text = SysAllocStringByteLen("oak", 3);
    Expect("SetPartsAttribute(record 5)",
           SetPartsAttribute(block, HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_RECORD, 5), &text), 1);
    Expect("GetPartsAttribute(record 5)",
           GetPartsAttribute(block, HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_RECORD, 5), &text), 1);
    ExpectBytes("GetPartsAttribute(record 5) text", text, "oak", 4);
    SysFreeString(text);
  }
  Expect("ReleasePartsAttributBlock(second)", ReleasePartsAttributBlock(block), 0);
  Expect("ReleasePartsAttributBlock(head)", ReleasePartsAttributBlock(head), 1);
  ((TerminateProc)ENGINE_ENTRY(TerminateProc, "Kxi_Terminate"))();
  FreeLibrary(engine);
}

/* A working folder made empty, a style list written into it and looked up. */
static void Shell(void) {
  static const char kStyles[] = "# style, file\r\nnorth, nordic.sty\r\n";
  char folder[MAX_PATH], path[MAX_PATH + 32], expected[MAX_PATH + 32];
  BSTR file = NULL;
  HANDLE list;
  DWORD written = 0, length = GetTempPathA(MAX_PATH - 32, folder);
  if (length == 0 || length >= MAX_PATH - 32) {
    Expect("GetTempPathA", 0, 1);
    return;
  }
  folder[length - 1] = '\0'; /* without its backslash */
  Expect("InitDataFolder", InitDataFolder(folder, "msvc_host"), HOSTKIT_DATA_FOLDER_READY);
  lstrcatA(folder, "\\msvc_host\\");
  lstrcpyA(path, folder);
  lstrcatA(path, "stylewith.mwm");
  list = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (list == INVALID_HANDLE_VALUE) {
    Expect("the style list is written", 0, 1);
    return;
  }
  WriteFile(list, kStyles, sizeof kStyles - 1, &written, NULL);
  CloseHandle(list);

  Expect("GetStyleFileName(north)", GetStyleFileName(folder, "north", &file), 0);
  lstrcpyA(expected, folder);
  lstrcatA(expected, "nordic.sty");
  ExpectBytes("GetStyleFileName(north) file", file, expected, (UINT)lstrlenA(expected));
  Expect("GetStyleFileName(south)", GetStyleFileName(folder, "south", &file), -1);
  ExpectBytes("GetStyleFileName(south) leaves the slot", file, expected, (UINT)lstrlenA(expected));
  SysFreeString(file);
  DeleteFileA(path);
}

/* The window's own procedure answers this message with ~lParam. */
#define INVERTING_MESSAGE (WM_APP + 7)

static LRESULT CALLBACK OwnProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == INVERTING_MESSAGE) return ~lparam;
  return DefWindowProcA(window, message, wparam, lparam);
}

/* A frame on a window of the host's; a message it leaves to the window
 * comes back with the procedure's whole answer. */
static void Frame(void) {
  WNDCLASSA cls;
  HWND window;
  int32_t frame;
  LRESULT answer = 0;
  const LPARAM value = (LPARAM)(ULONG_PTR)0x0123456789ABCDEFull;
  ZeroMemory(&cls, sizeof cls);
  cls.lpfnWndProc = OwnProcedure;
  cls.hInstance = GetModuleHandleA(NULL);
  cls.lpszClassName = "MsvcHostWindow";
  RegisterClassA(&cls);
  window = CreateWindowExA(0, cls.lpszClassName, "msvc host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                           NULL, NULL, cls.hInstance, NULL);
  frame = QNDFrameCreate(window);
  Expect("QNDFrameCreate", frame >= 0x10000 && frame <= 0x1FFFF, 1);
  Expect("QNDFrameSetColor(part 20)", QNDFrameSetColor(frame, 20, 0, 0), -1);
  Expect("QNDFrameSetColor(caption)", QNDFrameSetColor(frame, 1, 0, RGB(0x2F, 0x5D, 0x8C)), 0);
  Expect("QNDFrameProc", QNDFrameProc(frame, INVERTING_MESSAGE, 0, value, &answer, 0), 0);
  Expect("QNDFrameProc answer (low half)", (LONG)(answer & 0xFFFFFFFF),
         (LONG)(~value & 0xFFFFFFFF));
  Expect("QNDFrameProc answer is the whole LRESULT", answer == ~value, 1);
  Expect("QNDFrameDelete", QNDFrameDelete(frame), 0);
  Expect("QNDFrameDelete again", QNDFrameDelete(frame), -1);
  DestroyWindow(window);
}

/* The mail export's results, from the stand-in mail client as asked
 * (KX_MAPI_ANSWER) or without a usable library. */
static void Mail(void) {
  static const struct {
    const char* folder; /* of MAPI32.DLL; null: none on the path */
    const char* answer;
    int32_t expected;
  } cases[] = {
      {NULL, NULL, HOSTKIT_MAIL_NO_LIBRARY},
      {"mapi32_without_logoff", NULL, HOSTKIT_MAIL_NO_LIBRARY},
      {"mapi32_standard", NULL, HOSTKIT_MAIL_ACCEPTED},
      {"mapi32_standard", "1", HOSTKIT_MAIL_CANCELLED},
      {"mapi32_standard", "2", HOSTKIT_MAIL_FAILED},
  };
  char folder[MAX_PATH + 32], model[MAX_PATH + 32], what[128];
  int i;
  Path(model, "data\\test.q3d");
  for (i = 0; i < (int)(sizeof cases / sizeof cases[0]); ++i) {
    if (cases[i].folder != NULL) Path(folder, cases[i].folder);
    SetDllDirectoryA(cases[i].folder != NULL ? folder : NULL);
    SetEnvironmentVariableA("KX_MAPI_ANSWER", cases[i].answer);
    wsprintfA(what, "SendQ3DMail(%s, answer %s)", cases[i].folder ? cases[i].folder : "none",
              cases[i].answer ? cases[i].answer : "unset");
    Expect(what, SendQ3DMail(NULL, "plans@example.invalid", "plans", "plan", "body", model),
           cases[i].expected);
  }
  SetDllDirectoryA(NULL);
  SetEnvironmentVariableA("KX_MAPI_ANSWER", NULL);
}

#endif /* MSVC_HOST_ORDINALS */

void __cdecl HostMain(void) {
  char* cut = NULL;
  char* p;
  g_out = GetStdHandle(STD_OUTPUT_HANDLE);
  GetModuleFileNameA(NULL, g_bin, MAX_PATH - 32);
  for (p = g_bin; *p != '\0'; ++p) {
    if (*p == '\\') cut = p;
  }
  if (cut != NULL) cut[1] = '\0';
  lstrcatA(g_bin, "..\\bin\\");

  Capabilities();
#ifndef MSVC_HOST_ORDINALS
  Version();
  Parts();
  Shell();
  Frame();
  Mail();
#endif
  Print("%d failed", g_failures);
  ExitProcess((UINT)g_failures);
}
