#include "scenario/PlayThrough.h"

#include <cstdio>
#include <filesystem>

#include "engine/app/Mouse.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sprites/ScreenFader.h"
#include "engine/util/TextTable.h"
#include "frontend/ProfileStore.h"
#include "frontend/comic/ComicViewer.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/menu/MainMenu.h"
#include "frontend/pda/PDA.h"
#include "frontend/pda/apps/PDAAppDesktop.h"
#include "frontend/pda/apps/PDAAppLogin.h"
#include "game/app/App.h"
#include "game/world/GameGlobals.h"
#include "game/world/GameWorld.h"
#include "platform/Input.h"
#include "platform/Sound.h"
#include "platform/SoundTestSupport.h"
#include "scenario/RouteDriver.h"
#include "support/TempDir.h"
#include "tools/datagen/DemoLevelContents.h"
#include "tools/datagen/Music.h"

namespace scenario {

namespace {

constexpr float kFrameTime = 0.016f;
// Frames a state is shown at least before its picture.
constexpr int kSettleFrames = 20;

const char* StateName(int state) {
  static const char* const kNames[CApp::STATE_COUNT] = {"logos",  "menu",      "login",   "playing", "death",
                                                        "pda",    "levelover", "comic",   "desktop", "final",
                                                        "loading", "credits",  "purchase"};
  return state >= 0 && state < CApp::STATE_COUNT ? kNames[state] : "unknown";
}

bool FaderClear() {
  const Nembra::CScreenFader& f = Nembra::g_ScreenFader;
  return !f.m_Shown && f.m_Alpha <= 0.0f;
}

bool Inside(const platform::RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::string RectText(const platform::RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "(%d, %d)-(%d, %d)", r.left, r.top, r.right, r.bottom);
  return text;
}

CPDAAppLogin* LoginApp() { return g_pPDA ? static_cast<CPDAAppLogin*>(g_pPDA->GetApp(PDA_APP_LOGIN)) : nullptr; }
CPDAAppDesktop* DesktopApp() {
  return g_pPDA ? static_cast<CPDAAppDesktop*>(g_pPDA->GetApp(PDA_APP_DESKTOP)) : nullptr;
}

}  // namespace

PlayThrough::PlayThrough(AppScenario& app) : PlayThrough(app, Options()) {}

PlayThrough::PlayThrough(AppScenario& app, const Options& options) : m_App(app), m_Options(options) {}

bool PlayThrough::Fail(const std::string& what) {
  if (!m_Failure.empty()) return false;
  char where[160];
  const int state = m_App.Ready() && !m_App.Ended() ? m_App.App().GetState() : -1;
  std::snprintf(where, sizeof where, " [frame %d, state %d, cursor (%d, %d)]", m_App.FrameNumber(), state,
                Nembra::g_pMouse ? Nembra::g_pMouse->GetX() : -1, Nembra::g_pMouse ? Nembra::g_pMouse->GetY() : -1);
  m_Failure = (m_Steps.empty() ? std::string("start") : m_Steps.back()) + ": " + what + where;
  return false;
}

void PlayThrough::Frame(const FrameInput& input) {
  m_App.Next() = input;
  m_App.Frame();
}

bool PlayThrough::WaitFor(const std::string& what, const std::function<bool()>& done, int maxFrames) {
  if (maxFrames < 0) maxFrames = m_Options.stepFrames;
  for (int i = 0; i < maxFrames; ++i) {
    if (done()) return true;
    if (m_App.Ended()) return Fail("the run ended while waiting for " + what);
    Frame();
  }
  return done() || Fail(what + " did not happen within " + std::to_string(maxFrames) + " frames");
}

bool PlayThrough::WaitState(int state, int maxFrames) {
  return WaitFor(std::string("state ") + StateName(state), [&] { return !m_App.Ended() && m_App.App().GetState() == state; },
                 maxFrames);
}

void PlayThrough::Tap(int key) {
  Frame(FrameInput().KeyDown(key));
  Frame(FrameInput().KeyUp(key));
}

bool PlayThrough::Steer(const std::string& what, int x, int y, int step) {
  for (int i = 0;; ++i) {
    if (m_App.Ended()) return Fail("the run ended before reaching " + what);
    FrameInput in;
    if (SteerCursor(in, x, y, step)) return true;
    if (i >= m_Options.stepFrames) return Fail("the cursor never reached " + what);
    Frame(in);
  }
}

bool PlayThrough::Click(const std::string& what, const platform::RECT& rect) {
  if (!Steer(what + " at " + RectText(rect), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2))
    return false;
  if (!Inside(rect, Nembra::g_pMouse->GetX(), Nembra::g_pMouse->GetY()))
    return Fail("the cursor stops outside " + what + " at " + RectText(rect));
  Frame(FrameInput().Press(0));
  Frame(FrameInput().Release(0));
  return true;
}

void PlayThrough::Picture(const std::string& name) {
  char numbered[160];
  std::snprintf(numbered, sizeof numbered, "%02d_%s", int(m_Pictures.size()) + 1, name.c_str());
  m_Pictures.push_back(numbered);
  std::error_code ec;
  std::filesystem::create_directories(testsupport::TestImageDir() + "/" + m_Options.pictureFolder, ec);
  if (!m_App.Capture(m_Options.pictureFolder + "/" + numbered)) Frame();
}

void PlayThrough::Visit(int state) {
  if (state == CApp::STATE_LOADING) {
    // The loading screen lasts the one frame that loads.
    Picture(StateName(state));
    return;
  }
  int shown = 0;
  for (int i = 0; i < 300 && !m_App.Ended() && m_App.App().GetState() == state; ++i) {
    const bool noticeDone = state != CApp::STATE_LEVEL_OVER || !m_App.App().GetMissionComplete() ||
                            m_App.App().GetMissionComplete()->done;
    if (shown >= kSettleFrames && FaderClear() && noticeDone) break;
    Frame();
    ++shown;
  }
  if (!m_App.Ended() && m_App.App().GetState() == state) Picture(StateName(state));
}

// ---- The front end ----

bool PlayThrough::Logos() {
  Begin("logos");
  if (m_App.App().GetState() != CApp::STATE_LOGOS) return Fail("the run does not start with the logos");
  Visit(CApp::STATE_LOGOS);
  // Escape skips a logo once it is in; the next is waited for before the
  // next tap, so no Escape reaches the menu.
  for (int tries = 0; tries < 20 && m_App.App().GetState() == CApp::STATE_LOGOS; ++tries) {
    Tap(platform::DIK_ESCAPE);
    WaitFor("the next logo", [&] { return m_App.App().GetState() != CApp::STATE_LOGOS || FaderClear(); }, 400);
    if (!m_Failure.empty()) return false;
  }
  return WaitState(CApp::STATE_MAIN_MENU);
}

bool PlayThrough::Configure() {
  Begin("menu configuration");
  Visit(CApp::STATE_MAIN_MENU);
  if (!WaitFor("the menu's buttons", [] { return g_pMainMenu && g_pMainMenu->Button(MENU_CONFIGURATION).m_Enabled; }))
    return false;
  if (!Click("the configuration button", g_pMainMenu->Button(MENU_CONFIGURATION).m_Rect)) return false;
  if (!WaitFor("the configuration page", [] { return g_pMainMenu->m_Page == CMainMenu::PAGE_CONFIGURATION; }))
    return false;
  Picture("menu_configuration");

  Begin("music slider to its right end");
  const platform::RECT r = g_pMainMenu->MusicSlider().m_Rect;
  const int y = (r.top + r.bottom) / 2;
  if (!Steer("the music slider", r.left + 4, y)) return false;
  Frame(FrameInput().Press(0));
  // Dragged right with the button held, to the last pixel of the slider.
  if (!Steer("the slider's end in the drag", r.right - 1, y, 12)) return false;
  Frame(FrameInput().Release(0));
  // The drag rectangle's last pixel is the fill's last but one.
  if (g_pMainMenu->MusicSlider().GetValue() < 0.99f)
    return Fail("the music slider stands at " + std::to_string(g_pMainMenu->MusicSlider().GetValue()) +
                " after the drag to " + RectText(r));
  Picture("menu_music_full");

  Begin("settings saved");
  if (!Click("the save button", g_pMainMenu->Button(MENU_SAVE).m_Rect)) return false;
  return WaitFor("the main page", [] { return g_pMainMenu->m_Page == CMainMenu::PAGE_MAIN; });
}

bool PlayThrough::StartAndLogin() {
  Begin("start");
  if (!Click("the start button", g_pMainMenu->Button(MENU_START).m_Rect)) return false;
  if (!WaitState(CApp::STATE_LOADING)) return false;
  Visit(CApp::STATE_LOADING);
  if (!WaitState(CApp::STATE_LOGIN)) return false;
  Visit(CApp::STATE_LOGIN);

  Begin("login: a new profile typed");
  CPDAAppLogin* login = LoginApp();
  if (!login) return Fail("no login application");
  if (g_ProfileStore.m_Profiles[0].inUse) return Fail("slot 0 holds a profile already");
  if (!Click("the first profile slot", login->m_Profiles[0].m_Rect)) return false;
  if (!WaitFor("typing in slot 0", [&] { return login->m_Editing == 0; }, 10)) return false;
  Frame(FrameInput().Type(L"Ana"));
  Frame();
  Tap(platform::DIK_RETURN);
  if (!WaitFor("the profile made", [] { return g_ProfileStore.m_Profiles[0].inUse != 0; }, 10)) return false;
  if (login->m_Notice.m_Visible) {
    Begin("login: the profile not saved");
    Picture("login_not_saved");
    if (!Click("the notice's button", login->m_Notice.m_Ok.m_Rect)) return false;
    if (!WaitFor("the notice closed", [&] { return !login->m_Notice.m_Visible; }, 10)) return false;
    ++m_NotSavedNotices;
  }
  Picture("login_profile");

  Begin("login: the profile chosen");
  if (!Click("the profile \"Ana\"", login->m_Profiles[0].m_Rect)) return false;
  return WaitState(CApp::STATE_COMIC);
}

bool PlayThrough::Comic() {
  Begin("comic");
  Visit(CApp::STATE_COMIC);
  if (!g_pComicViewer) return Fail("no comic viewer");
  for (int page = 0; page < 40 && g_pComicViewer->NextButton().m_Visible; ++page) {
    if (!Click("the comic's next button", g_pComicViewer->NextButton().m_Rect)) return false;
    Frame();
  }
  if (!Click("the comic's close button", g_pComicViewer->CloseButton().m_Rect)) return false;
  return WaitFor("the comic closed", [&] { return m_App.Ended() || m_App.App().GetState() != CApp::STATE_COMIC; });
}

bool PlayThrough::Desktop(bool openMailAndNetwork) {
  Begin("desktop");
  if (!WaitState(CApp::STATE_DESKTOP)) return false;
  Visit(CApp::STATE_DESKTOP);
  CPDAAppDesktop* desk = DesktopApp();
  if (!desk) return Fail("no desktop application");
  bool mailSeen = false, networkSeen = false;
  auto backToDesktop = [&](const char* what) {
    if (!Click(std::string("the close button of the ") + what, g_pPDA->FrameButton(PDA_BUTTON_CLOSE_APP).m_Rect))
      return false;
    return WaitFor("the desktop again", [] { return g_pPDA->GetCurrentAppIndex() == PDA_APP_DESKTOP; }, 20);
  };
  auto opened = [&](int app, const char* name) {
    if (!WaitFor(std::string("the ") + name + " application",
                 [&] { return g_pPDA->GetCurrentAppIndex() == app; }, 20))
      return false;
    Frame();
    Picture(std::string("pda_") + name);
    return backToDesktop(name);
  };
  // An application opened by its button (or a notice's), pictured and closed.
  auto open = [&](const std::string& step, const std::string& button, const platform::RECT& rect, int app,
                  const char* name) {
    if (!step.empty()) Begin("desktop: " + step);
    return Click(button, rect) && opened(app, name);
  };
  if (desk->m_Decrypt.m_Visible) {
    Begin("desktop: the decrypting notice");
    if (!WaitFor("the decrypting bar full", [&] { return desk->m_Decrypt.m_Progress >= 1.0f; })) return false;
    if (!open("", "the decrypting notice's button", desk->m_Decrypt.m_Ok.m_Rect,
              PDA_APP_NETWORK, "network"))
      return false;
    networkSeen = true;
  }
  if (desk->m_Mail.m_Visible) {
    if (!open("the mail notice", "the mail notice's read button", desk->m_Mail.m_Ok.m_Rect, PDA_APP_EMAIL, "email"))
      return false;
    mailSeen = true;
  }
  if (openMailAndNetwork && !mailSeen &&
      !open("mail", "the e-mail button", desk->m_Buttons[CPDAAppDesktop::EMAIL].m_Rect, PDA_APP_EMAIL, "email"))
    return false;
  if (openMailAndNetwork && !networkSeen &&
      !open("network", "the network button", desk->m_Buttons[CPDAAppDesktop::NETWORK].m_Rect, PDA_APP_NETWORK,
            "network"))
    return false;
  Begin("desktop: start");
  if (!Click("the start button", g_pPDA->FrameButton(PDA_BUTTON_START_GAME).m_Rect)) return false;
  return WaitFor("the desktop left", [&] { return m_App.Ended() || m_App.App().GetState() != CApp::STATE_DESKTOP; });
}

// ---- The levels ----

namespace {

// What is left of the jingle to play, in seconds: its length less what it
// has played (a twentieth is taken off for the ends of the encoded sound).
double JingleSecondsLeft(const Nembra::CAudiereSound* jingle, const std::string& dataFolder) {
  const auto source = platform::OpenSampleSource(dataFolder + CGUIMissionComplete::MUSIC);
  if (!jingle || !jingle->GetStream() || !source || !source->SampleRate()) return 0.0;
  const double played = static_cast<double>(jingle->GetStream()->FramesPlayed()) / source->SampleRate();
  return datagen::JINGLE_SECONDS - 0.05 - played;
}

// How many music streams play, of every .ogg file in the data folder.
int PlayingMusic(const std::string& dataFolder) {
  int playing = 0;
  if (!Nembra::g_pStreamingSoundFactory) return playing;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec))
    if (entry.path().extension() == ".ogg")
      if (Nembra::CAudiereSound* music = Nembra::g_pStreamingSoundFactory->Find(entry.path().filename().string()))
        playing += music->IsPlaying() ? 1 : 0;
  return playing;
}

}  // namespace

bool PlayThrough::LevelMusic(const std::string& name) {
  const int playing = PlayingMusic(m_App.DataFolder());
  if (playing != 1) return Fail(std::to_string(playing) + " music streams play in " + name);
  if (g_pCurrentMusic == Nembra::g_pStreamingSoundFactory->Find(CApp::TITLE_MUSIC))
    return Fail("the title music plays in " + name);
  return true;
}

bool PlayThrough::PlayLevel(const std::string& name, bool visitPda) {
  Begin("play " + name);
  if (!WaitState(CApp::STATE_PLAYING)) return false;
  RouteDriver::Settings settings;
  settings.frameTime = kFrameTime;
  RouteDriver driver(m_Options.route ? m_Options.route(name) : datagen::DemoLevelContent(name).route, settings);
  if (driver.StepCount() == 0) return Fail("the level has no route");
  Visit(CApp::STATE_PLAYING);
  if (!LevelMusic(name)) return false;
  if (visitPda) {
    Begin(name + ": the in-game PDA and back");
    Tap(platform::DIK_ESCAPE);
    if (!WaitState(CApp::STATE_INGAME_PDA, 10)) return false;
    Visit(CApp::STATE_INGAME_PDA);
    Tap(platform::DIK_ESCAPE);
    if (!WaitState(CApp::STATE_PLAYING)) return false;
    Visit(CApp::STATE_PLAYING);
    Begin("play " + name);
  }
  for (int frame = 0; frame < m_Options.levelFrames; ++frame) {
    if (m_App.Ended()) return Fail("the run ended in the level at " + driver.Where());
    const int state = m_App.App().GetState();
    if (state == CApp::STATE_PLAYING) {
      const FrameInput in = driver.Next();
      if (driver.Failed()) return Fail(driver.Failure());
      Frame(in);
      continue;
    }
    if (state == CApp::STATE_DEATH) {
      const RouteDriver::Step* step = driver.Current();
      if (!step || step->kind != RouteDriver::Step::HAZARD) {
        ++m_UnplannedDeaths;
        return Fail("the player died at " + driver.Where());
      }
      ++m_PlannedDeaths;
      Begin(name + ": the planned death and the restart");
      Frame(driver.ReleaseAll());
      Visit(CApp::STATE_DEATH);
      Tap(platform::DIK_SPACE);
      if (!WaitState(CApp::STATE_PLAYING, 10)) return false;
      Visit(CApp::STATE_PLAYING);
      if (!LevelMusic(name)) return false;
      driver.Restarted();
      Begin("play " + name);
      continue;
    }
    if (state == CApp::STATE_LEVEL_OVER) {
      Frame(driver.ReleaseAll());
      return true;
    }
    return Fail(std::string("the level left for the ") + StateName(state) + " at " + driver.Where());
  }
  return Fail("the level was not finished within " + std::to_string(m_Options.levelFrames) + " frames at " +
              driver.Where());
}

bool PlayThrough::LevelOver() {
  Begin("level over");
  if (!WaitState(CApp::STATE_LEVEL_OVER)) return false;
  Visit(CApp::STATE_LEVEL_OVER);
  if (const int n = PlayingMusic(m_App.DataFolder()); n != 1)
    return Fail(std::to_string(n) + " music streams play at the level over");
  // The jingle plays in real time, on the output's own clock: on a slow
  // build (sanitizers, software GL) the pause can outlast it, so then it may
  // have ended by itself, once the output has mixed what was left of it; no
  // other music may take its place.
  const Nembra::CAudiereSound* jingle = g_pCurrentMusic;
  const soundtest::Since sinceOver;
  const double jingleLeft = JingleSecondsLeft(jingle, m_App.DataFolder());
  if (!WaitFor("the level-over pause", [&] { return m_App.App().GetLevelOverDelay() <= 0.0f; })) return false;
  const int n = PlayingMusic(m_App.DataFolder());
  if (g_pCurrentMusic != jingle || n > 1 || (n == 0 && sinceOver() < jingleLeft))
    return Fail(std::to_string(n) + " music streams play after the pause");
  Tap(platform::DIK_SPACE);
  // A save that failed keeps the level over on screen, saying so; the next
  // press goes on.
  const std::wstring notSaved = Nembra::GetText("TXT_PROFILE_NOT_SAVED");
  if (!m_App.Ended() && m_App.App().GetState() == CApp::STATE_LEVEL_OVER &&
      !m_App.Last().FindTextContaining(notSaved).empty()) {
    Begin("level over: not saved, pressed again");
    Picture("levelover_not_saved");
    ++m_LevelOverRetries;
    Tap(platform::DIK_SPACE);
  }
  return WaitFor("the level over left",
                 [&] { return m_App.Ended() || m_App.App().GetState() != CApp::STATE_LEVEL_OVER; }, 10);
}

bool PlayThrough::FinalAndCredits() {
  Begin("final screen");
  if (!WaitState(CApp::STATE_FINAL)) return false;
  Visit(CApp::STATE_FINAL);
  Tap(platform::DIK_ESCAPE);
  Begin("credits");
  if (!WaitState(CApp::STATE_CREDITS)) return false;
  Visit(CApp::STATE_CREDITS);
  Tap(platform::DIK_ESCAPE);
  return WaitState(CApp::STATE_MAIN_MENU);
}

bool PlayThrough::ExitGame() {
  Begin("menu: exit question");
  Visit(CApp::STATE_MAIN_MENU);
  if (!WaitFor("the menu's buttons", [] { return g_pMainMenu->Button(MENU_EXIT).m_Enabled; })) return false;
  if (!Click("the exit button", g_pMainMenu->Button(MENU_EXIT).m_Rect)) return false;
  if (!WaitFor("the exit question", [] { return g_pMainMenu->m_Page == CMainMenu::PAGE_EXIT_QUESTION; }, 10))
    return false;
  Picture("menu_exit_question");
  Begin("menu: yes");
  if (!Click("the yes button", g_pMainMenu->Button(MENU_YES).m_Rect)) return false;
  Begin("purchase screen");
  if (!WaitState(CApp::STATE_EXIT)) return false;
  Visit(CApp::STATE_EXIT);
  Tap(platform::DIK_ESCAPE);
  return WaitFor("the end of the run", [&] { return m_App.Ended(); }, 10);
}

bool PlayThrough::Run() {
  if (!m_App.Ready()) return Fail("the application did not start: " + m_App.Problem());
  return Logos() && Configure() && StartAndLogin() && Comic() && PlayLevel("LevelTutorial", true) && LevelOver() &&
         Desktop(true) && Comic() && PlayLevel("Level4", false) && LevelOver() && Desktop(false) &&
         PlayLevel("Level8", false) && LevelOver() && Comic() && FinalAndCredits() && ExitGame();
}

}  // namespace scenario
