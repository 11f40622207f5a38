#pragma once
// The application object: the one window, the message and frame loop, the
// frame time every update scales by, typed text and frames per second.
#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace Nembra {

struct APPLICATION_PARAMS {
  char title[256];
  bool windowed = true;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 800;
  int32_t height = 600;
  uint8_t bitsPerPixel = 16;
  uint32_t windowStyle = platform::WS_CAPTION | platform::WS_SYSMENU;  // 0xC80000
  bool depthBuffer = true;
  uint32_t multisampleType = 0;

  APPLICATION_PARAMS();
  void SetTitle(const std::string& text);
};

class CApplication {
 public:
  CApplication();
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  virtual platform::LRESULT WindowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                                       platform::LPARAM lParam);
  virtual bool OnInit() { return true; }
  virtual void OnFrame() {}
  virtual void OnShutdown() {}
  virtual void OnActivate(bool active) {}

  // Opens the window and calls OnInit; false when either fails.
  bool Init(APPLICATION_PARAMS params);
  // Runs the frame loop until the quit message.
  void Run();
  // Deactivates and posts the quit message.
  void Quit();
  // Starts the keyboard and the mouse for the window (g_pInputMapper).
  bool InitInput();

  // Frames per second; call once per frame (it counts its own calls).
  static float GetFPS();

  std::wstring GetTypedText() const { return m_TypedText; }
  void ClearTypedText() { m_TypedText.clear(); }

  platform::HWND GetWindow() const { return m_Window; }
  const APPLICATION_PARAMS& GetParams() const { return m_Params; }
  float GetFrameSeconds() const { return m_FrameSeconds; }
  bool IsActive() const { return m_Active; }
  bool IsFrameCapped() const { return m_FrameCap; }
  void SetFrameCap(bool cap) { m_FrameCap = cap; }
  float GetTimeScale() const { return m_TimeScale; }
  void SetTimeScale(float scale) { m_TimeScale = scale; }

  static const char* const WINDOW_CLASS_NAME;  // "WC"

 protected:
  bool CreateAppWindow();

  platform::HWND m_Window = nullptr;
  APPLICATION_PARAMS m_Params;
  bool m_Active = false;
  uint64_t m_LastFrameTime = 0;  // tick count (ms) of the last frame
  float m_FrameSeconds = 0.0f;
  float m_TimeScale = 1.0f;
  std::wstring m_TypedText;
  bool m_FrameCap = true;
  bool m_ClassRegistered = false;
};

extern CApplication* g_pApplication;
extern float g_FrameTime;

// The box shown when the application cannot start.
extern const char* const INIT_ERROR_TEXT;
extern const char* const INIT_ERROR_TITLE;  // "Error"

// The process entry after the engine is up and the application is made:
// Init, Run, ShutdownEngine, exit code 0. When Init fails: the error box,
// ShutdownEngine, exit code 1. The caller deletes the application.
int RunApplication(CApplication& app, const APPLICATION_PARAMS& params);

}  // namespace Nembra
