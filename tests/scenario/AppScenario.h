#pragma once
// The game's own application started as the program starts it, on a private
// copy of the demo data, seed 1, driven frame by frame with a fixed frame
// time and scripted input. Headless, each frame's draws are decoded (Last());
// with Options::gl, Capture keeps a frame's picture. Each "state OLD -> NEW"
// log line is kept (StateLog()).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/app/App.h"
#include "platform/HeadlessGraphics.h"
#include "scenario/DrawDecoder.h"
#include "scenario/ScreenScenario.h"

namespace scenario {

class AppScenario {
 public:
  // The data is always a private copy (writableData is not read).
  struct Options : ScenarioOptions {
    Options() { frameTime = 0.1f; }
    // Called on the data copy before the application starts (write or
    // remove files there).
    std::function<void(const std::string& dataFolder)> prepareData;
  };

  AppScenario();
  explicit AppScenario(const Options& options);
  // Ends the run as the program does (OnShutdown unless the run ended
  // already), then the engine; the application is deleted last.
  ~AppScenario();
  AppScenario(const AppScenario&) = delete;
  AppScenario& operator=(const AppScenario&) = delete;

  bool Ready() const { return m_Ready; }
  const std::string& Problem() const { return m_Problem; }
  bool InitFailed() const { return m_InitFailed; }
  CApp& App() { return *m_App; }
  const std::string& DataFolder() const { return m_DataFolder; }
  int FrameNumber() const { return m_FrameNumber; }

  FrameInput& Next();
  // One frame: input, the clock, the message pump (a quit ends the run:
  // OnShutdown), the sound layer, the application's frame, the decoding.
  void Frame();
  void Run(int frames);
  bool RunUntil(const std::function<bool()>& done, int maxFrames);
  bool RunUntilState(int state, int maxFrames);
  // A key pressed in one frame and released in the next.
  void Tap(int key);
  // True once the quit message reached the pump; the run has then ended.
  bool Ended() const { return m_Ended; }

  const DecodedFrame& Last() const { return m_Last; }
  platform::headless::RecordingDevice* Device() const;
  // "OLD -> NEW" of every state change since the start (or ClearStateLog).
  const std::vector<std::string>& StateLog() const { return m_StateLog; }
  void ClearStateLog() { m_StateLog.clear(); }
  const std::vector<std::string>& LogLines() const { return m_LogLines; }

  // GL only: one frame, its picture kept as test-images/<name>.png.
  bool Capture(const std::string& name);
  // The last captured picture: packed ARGB, 800 x 600.
  const std::vector<uint32_t>& Pixels() const { return m_Pixels; }

 private:
  void Start();
  void End();

  struct Parts;
  Options m_Options;
  std::unique_ptr<Parts> m_Parts;
  CApp* m_App = nullptr;
  bool m_Ready = false;
  bool m_InitFailed = false;
  bool m_Ended = false;
  std::string m_Problem;
  std::string m_DataFolder;
  std::vector<FrameInput> m_Script;
  int m_FrameNumber = 0;
  DecodedFrame m_Last;
  std::unique_ptr<DrawDecoder> m_Decoder;
  std::vector<std::string> m_StateLog;
  std::vector<std::string> m_LogLines;
  std::vector<uint32_t> m_Pixels;
};

}  // namespace scenario
