#include "engine/app/Application.h"

#include <cstring>

#include "engine/app/Engine.h"
#include "engine/app/InputMapper.h"
#include "engine/fonts/Font.h"
#include "platform/Clock.h"
#include "platform/Sound.h"

namespace Nembra {

CApplication* g_pApplication = nullptr;
float g_FrameTime = 0.0f;

const char* const CApplication::WINDOW_CLASS_NAME = "WC";

const char* const INIT_ERROR_TEXT =
    "There was an initialization error.\nKV will now close.\n\nMake sure no other DirectX-based application is "
    "running and that\nyou didn't try to run two instances of the game simultaneously.";
const char* const INIT_ERROR_TITLE = "Error";

namespace {
// Frames-per-second counter.
float g_FpsValue = 0.0f;
uint64_t g_FpsTime = 0;
uint32_t g_FpsCount = 0;
// Whether the left and the right Shift key were last seen down.
bool g_LeftShiftDown = false;
bool g_RightShiftDown = false;

platform::LRESULT WindowProcTrampoline(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                                       platform::LPARAM lParam) {
  if (!g_pApplication) return platform::DefWindowProc(window, message, wParam, lParam);
  return g_pApplication->WindowProc(window, message, wParam, lParam);
}

bool KeyDown(int vk) { return (platform::GetKeyState(vk) & 0x8000) != 0; }
}  // namespace

APPLICATION_PARAMS::APPLICATION_PARAMS() { SetTitle("Application"); }

void APPLICATION_PARAMS::SetTitle(const std::string& text) {
  std::memset(title, 0, sizeof title);
  std::strncpy(title, text.c_str(), sizeof title - 1);
}

CApplication::CApplication() { g_pApplication = this; }

CApplication::~CApplication() {
  if (g_pApplication == this) g_pApplication = nullptr;
  // The window goes with the application (its procedure is no longer ours).
  if (m_Window) platform::DestroyWindow(m_Window);
  if (m_ClassRegistered) platform::UnregisterWindowClass(WINDOW_CLASS_NAME);
}

bool CApplication::Init(APPLICATION_PARAMS params) {
  m_Params = params;
  m_Params.title[sizeof m_Params.title - 1] = '\0';
  if (!CreateAppWindow()) return false;
  // System fonts are handed out from here on; the factory lives until the
  // engine shuts down.
  if (!g_pFontFactory) g_pFontFactory = new CFontFactory();
  return OnInit();
}

bool CApplication::CreateAppWindow() {
  if (!platform::RegisterWindowClass(WINDOW_CLASS_NAME, &WindowProcTrampoline)) return false;
  m_ClassRegistered = true;
  const uint32_t style =
      m_Params.windowed ? m_Params.windowStyle : (platform::WS_POPUP | platform::WS_VISIBLE);
  const int x = m_Params.windowed ? m_Params.x : 0;
  const int y = m_Params.windowed ? m_Params.y : 0;
  m_Window = platform::CreateAppWindow(WINDOW_CLASS_NAME, m_Params.title, style, x, y, m_Params.width,
                                       m_Params.height);
  if (!m_Window) return false;
  platform::ShowWindow(m_Window);
  return true;
}

void CApplication::Run() {
  m_Active = true;
  m_LastFrameTime = platform::GetTickCount();
  platform::MSG msg;
  while (msg.message != platform::WM_QUIT) {
    const bool taken = m_Active ? platform::PeekMessage(&msg) : (platform::GetMessage(&msg), true);
    if (taken) {
      platform::DispatchMessage(&msg);
      continue;
    }
    if (!m_Active) continue;

    // Whole milliseconds since the last frame, on the 64-bit clock.
    const uint64_t now = platform::GetTickCount();
    const uint64_t ms = now >= m_LastFrameTime ? now - m_LastFrameTime : 0;
    m_LastFrameTime = now;
    m_FrameSeconds = static_cast<float>(static_cast<double>(ms) * static_cast<double>(0.001f) *
                                        static_cast<double>(m_TimeScale));
    g_FrameTime = m_FrameSeconds;

    // With the frame cap, a turn in which no whole millisecond passed draws
    // nothing; the loop then waits for the next millisecond, yielding the
    // processor, and measures again.
    if (!m_FrameCap || m_FrameSeconds > 0.0f) {
      platform::UpdateAudio();  // fades, repeats and music queues
      OnFrame();
    } else {
      platform::WaitForTick(now + 1);
    }
  }
  OnShutdown();
  if (m_ClassRegistered) {
    platform::UnregisterWindowClass(WINDOW_CLASS_NAME);
    m_ClassRegistered = false;
  }
}

int RunApplication(CApplication& app, const APPLICATION_PARAMS& params) {
  if (!app.Init(params)) {
    platform::ShowMessageBox(INIT_ERROR_TEXT, INIT_ERROR_TITLE);
    ShutdownEngine();
    return 1;
  }
  app.Run();
  ShutdownEngine();
  return 0;
}

void CApplication::Quit() {
  m_Active = false;
  platform::PostQuitMessage(0);
}

bool CApplication::InitInput() { return g_pInputMapper && g_pInputMapper->InitializeInput(m_Window); }

float CApplication::GetFPS() {
  const uint64_t now = platform::GetTickCount();
  ++g_FpsCount;
  const uint64_t elapsed = now - g_FpsTime;  // unsigned: a clock set back counts as more
  if (elapsed > 1000) {
    g_FpsValue = static_cast<float>(g_FpsCount) * 1000.0f / static_cast<float>(elapsed);
    g_FpsTime = now;
    g_FpsCount = 0;
  }
  return g_FpsValue;
}

platform::LRESULT CApplication::WindowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                                           platform::LPARAM lParam) {
  using namespace platform;
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;

    case WM_ACTIVATE:
    case WM_SIZE: {
      const bool active = message == WM_ACTIVATE ? (wParam & 0xFFFF) != WA_INACTIVE
                                                 : (wParam != SIZE_MINIMIZED && wParam != SIZE_MAXHIDE);
      const bool was = m_Active;
      m_Active = active;
      if (was && !active) {
        OnActivate(false);
      } else if (!was && active) {
        // Time spent inactive never reaches a frame.
        m_LastFrameTime = GetTickCount();
        OnActivate(true);
      }
      return DefWindowProc(window, message, wParam, lParam);
    }

    case WM_SYSCOMMAND:
      switch (wParam) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MAXIMIZE:
        case SC_KEYMENU:
        case SC_MONITORPOWER:
          if (!m_Params.windowed) return 1;
          break;
        default:
          break;
      }
      return DefWindowProc(window, message, wParam, lParam);

    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WPARAM code = wParam;
      if (code == static_cast<WPARAM>(VK_BACK)) {
        if (!m_TypedText.empty()) m_TypedText.pop_back();
      } else if (code == static_cast<WPARAM>(VK_SHIFT)) {
        if (!g_LeftShiftDown && KeyDown(VK_LSHIFT)) {
          code = VK_LSHIFT;
          g_LeftShiftDown = true;
        } else if (!g_RightShiftDown && KeyDown(VK_RSHIFT)) {
          code = VK_RSHIFT;
          g_RightShiftDown = true;
        }
      } else if (code == static_cast<WPARAM>(VK_CONTROL)) {
        code = (lParam & KF_EXTENDED_BIT) ? VK_RCONTROL : VK_LCONTROL;
      } else if (code == static_cast<WPARAM>(VK_MENU)) {
        code = (lParam & KF_EXTENDED_BIT) ? VK_RMENU : VK_LMENU;
      }
      return DefWindowProc(window, message, code, lParam);
    }

    case WM_CHAR:
      // One typed character, whatever it is (Enter, Tab and Escape included);
      // Backspace edits the text instead of typing.
      if (wParam != static_cast<WPARAM>(VK_BACK)) m_TypedText.push_back(static_cast<wchar_t>(wParam));
      return 0;

    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wParam == static_cast<WPARAM>(VK_SHIFT)) {
        if (g_LeftShiftDown && !KeyDown(VK_LSHIFT)) {
          g_LeftShiftDown = false;
          return DefWindowProc(window, message, VK_LSHIFT, lParam);
        }
        if (g_RightShiftDown && !KeyDown(VK_RSHIFT)) {
          g_RightShiftDown = false;
          return DefWindowProc(window, message, VK_RSHIFT, lParam);
        }
      }
      return DefWindowProc(window, message, wParam, lParam);

    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace Nembra
