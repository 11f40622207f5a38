#pragma once
// The engine started as the game starts it, on the demo data, driven frame
// by frame with a fixed frame time and a per-frame script of mouse, keys and
// typed text (Next()). Headless, each frame's draws are decoded (Last());
// with Options::gl it runs on the OpenGL device in a real window (Xvfb in CI)
// and CaptureFrame keeps a picture under test-images/.
//   scenario::ScreenScenario s;
//   ASSERT_TRUE(s.Ready()) << s.Problem();
//   s.Next().MoveTo(100, 200).Press(0);
//   s.Frame([&] { ... draw the screen under test ... });
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/HeadlessGraphics.h"
#include "scenario/DrawDecoder.h"

namespace scenario {

// What happens to the input in one frame, applied before the frame reads it.
struct FrameInput {
  bool move = false;
  int mouseX = 0, mouseY = 0;  // where the pointer goes (screen pixels) when move is set
  int wheelNotches = 0;        // above 0 turned up
  std::vector<int> buttonsDown, buttonsUp;
  std::vector<int> keysDown, keysUp;  // key numbers as the keyboard reports them
  std::wstring typed;                 // characters typed in this frame
  // Relative motion in the mouse's own units (the cursor moves by them
  // times the mouse's speed), as a hand on the mouse gives it.
  int moveDX = 0, moveDY = 0;

  FrameInput& MoveTo(int x, int y) { return move = true, mouseX = x, mouseY = y, *this; }
  FrameInput& Press(int button = 0) { buttonsDown.push_back(button); return *this; }
  FrameInput& Release(int button = 0) { buttonsUp.push_back(button); return *this; }
  FrameInput& KeyDown(int code) { keysDown.push_back(code); return *this; }
  FrameInput& KeyUp(int code) { keysUp.push_back(code); return *this; }
  FrameInput& Type(const std::wstring& text) { typed += text; return *this; }
  FrameInput& Wheel(int notches) { wheelNotches += notches; return *this; }
  FrameInput& MoveBy(int dx, int dy) { return moveDX += dx, moveDY += dy, *this; }
};

// The options every scenario takes; the application and world scenarios
// add their own and their own frame time.
struct ScenarioOptions {
  bool gl = false;            // the OpenGL device in a real window instead of the recording device
  bool writableData = false;  // run on a private copy of the demo data (for tests that write files)
  float frameTime = 1.0f / 60.0f;
  uint32_t seed = 1;
};

class ScreenScenario {
 public:
  using Options = ScenarioOptions;

  ScreenScenario();
  explicit ScreenScenario(const Options& options);
  ~ScreenScenario();
  ScreenScenario(const ScreenScenario&) = delete;
  ScreenScenario& operator=(const ScreenScenario&) = delete;

  // False when the engine could not be started (for GL: no display or no
  // OpenGL 3.3); Problem says why. Tests skip GL scenarios that are not ready.
  bool Ready() const { return m_Ready; }
  const std::string& Problem() const { return m_Problem; }
  bool IsGl() const { return m_Options.gl; }
  // The data folder the engine reads (ends with '/').
  const std::string& DataFolder() const { return m_DataFolder; }
  float FrameTime() const { return m_Options.frameTime; }
  int FrameNumber() const { return m_FrameNumber; }

  // The input of the next frame to run; each call after a frame gives a fresh one.
  FrameInput& Next();
  // Scripts the frames after those already scripted, one entry per frame.
  void Script(const std::vector<FrameInput>& frames);

  // One frame: the scripted input reaches the keyboard, the mouse and the
  // typed text; the frame time is set and the clock advanced; the target is
  // cleared, the body draws inside the scene, the frame is presented and
  // the sound layer updated. Headless, the frame's draws are decoded.
  void Frame(const std::function<void()>& body);
  void Run(int frames, const std::function<void()>& body);
  // Runs until the predicate holds after a frame; false when it never did.
  bool RunUntil(const std::function<bool()>& done, int maxFrames, const std::function<void()>& body);
  // Two sprite batches, as every screen draws: images (and mouse tests),
  // then texts over them.
  static void TwoPass(const std::function<void()>& images, const std::function<void()>& texts);

  // The last frame's decoded draws (headless only; empty with GL).
  const DecodedFrame& Last() const { return m_Last; }
  platform::headless::RecordingDevice* Device() const;

  // GL only: runs one frame and keeps its picture as test-images/<name>.png;
  // false when it could not be read back.
  bool CaptureFrame(const std::string& name, const std::function<void()>& body);
  // The last captured picture: packed ARGB, 800 x 600.
  uint32_t PixelAt(int x, int y) const;
  const std::vector<uint32_t>& Pixels() const { return m_Pixels; }

 private:
  void Start();
  void PumpMessages();
  void RunFrame(const std::function<void()>& body, const std::string& captureName);

  struct Engine;
  Options m_Options;
  std::unique_ptr<Engine> m_Engine;
  bool m_Ready = false;
  std::string m_Problem;
  std::string m_DataFolder;
  std::vector<FrameInput> m_Script;  // frames still to run, first first
  int m_FrameNumber = 0;
  DecodedFrame m_Last;
  std::unique_ptr<DrawDecoder> m_Decoder;
  std::vector<uint32_t> m_Pixels;
};

}  // namespace scenario
