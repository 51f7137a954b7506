// What the checker and the viewer agree on for one 3D test: the files in the
// exchange folder, their section and keys, the window messages between the
// two programs and the result codes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kx::exchange {

// Folder under the user's temporary folder; the checker empties it at the end.
inline constexpr const char* kFolderName = "~Fitcheck";
inline constexpr const char* kRequestFileName = "KxEnvCheck.ini";
inline constexpr const char* kResultFileName = "KxEnvResult.ini";
inline constexpr const char* kViewerProgram = "Fitview.exe";
inline constexpr const char* kViewerLogPattern = "env3dk_<DATE>.log";

// Both files hold one section.
inline constexpr const char* kSection = "Fitcheck";

// Request keys, in the order the checker writes them.
inline constexpr const char* kBmpFile = "BmpFile";
inline constexpr const char* kQ3dFile = "Q3dFile";
inline constexpr const char* kResultFile = "ResultFile";
inline constexpr const char* kDirectX = "DirectX";
inline constexpr const char* kAntiAlias = "AntiAlias";
inline constexpr const char* kShadow = "Shadow";
inline constexpr const char* kPhong = "Phong";
inline constexpr const char* kNoOpenGLAcc = "NoOpenGLAcc";
inline constexpr const char* kHwnd = "hwnd";
inline constexpr const char* kLogFile = "LogFile";

// Result key.
inline constexpr const char* kResultCode = "ResultCode";
// The viewer's own measure of its view against the sample, beside the result
// code: the score ("%g") and the verdict (0 alike, 1 unsure, 2 unlike).
inline constexpr const char* kLikeness = "Likeness";
inline constexpr const char* kLikenessVerdict = "LikenessVerdict";

// Text values are read into buffers of this size (at most 1023 bytes).
inline constexpr std::size_t kValueBuffer = 1024;

// Window messages (WM_USER = 1024).
inline constexpr unsigned kUserMessageBase = 1024;
inline constexpr unsigned kViewerClose = kUserMessageBase + 11;    // WM_VIEWER_CLOSE, posted to the viewer
inline constexpr unsigned kViewerClosing = kUserMessageBase + 12;  // WM_VIEWER_CLOSING, sent by the viewer
inline constexpr unsigned kViewerNotify = kUserMessageBase + 13;   // WM_VIEWER_NOTIFY, to the checker
inline constexpr unsigned kViewerReady = kUserMessageBase + 14;    // WM_VIEWER_READY, the viewer to itself

// Kinds of WM_VIEWER_NOTIFY (wParam).
inline constexpr int kNotifyViewShown = 2;      // lParam: the result code (0)
inline constexpr int kNotifyViewerEnded = 3;    // lParam: 0
inline constexpr int kNotifyViewerError = 4;    // lParam: 2 when the viewer could not be started
inline constexpr int kNotifyStartFailedDetail = 2;
inline constexpr int kNotifyLikeness = 5;       // lParam: the likeness verdict (0, 1, 2)

// Result codes.
inline constexpr std::int32_t kResultShown = 0;          // view shown (also at an orderly close)
inline constexpr std::int32_t kResultFilesMissing = 1;   // checker only: picture or model missing
inline constexpr std::int32_t kResultRequestMissing = 3; // request, picture or model file missing
inline constexpr std::int32_t kResultEngineFailed = 4;   // engine could not be set up
inline constexpr std::int32_t kResultModelFailed = 5;    // model could not be loaded
inline constexpr std::int32_t kResultAbsent = -1;        // checker's default when the key is absent

}  // namespace kx::exchange
