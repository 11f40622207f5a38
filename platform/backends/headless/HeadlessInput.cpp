// Headless keyboard and mouse: input comes from a test, as a script of
// events per frame or as single events, and reads or acquisitions can be
// made to fail.
#include <utility>

#include "platform/Clock.h"
#include "platform/backends/InputBackend.h"

namespace platform {
namespace headless {
namespace {
std::vector<InputFrame> g_script;
size_t g_scriptStart[2] = {0, 0};  // read index of each device kind when the script was set
bool g_scriptSet = false;
int g_failReads[2] = {0, 0};
int g_holdElsewhere = 0;
bool g_failCreate = false;
bool g_relative = false;

int KindIndex(InputDeviceKind kind) { return kind == InputDeviceKind::Keyboard ? 0 : 1; }

bool IsKeyEvent(const InputEvent& e) {
  return e.type == InputEvent::Type::KeyDown || e.type == InputEvent::Type::KeyUp;
}
}  // namespace

void SetInputScript(std::vector<InputFrame> frames) {
  g_script = std::move(frames);
  g_scriptSet = true;
  g_scriptStart[0] = g_scriptStart[1] = static_cast<size_t>(-1);  // fixed at each kind's next read
}

void SendInput(const InputEvent& e) {
  switch (e.type) {
    case InputEvent::Type::KeyDown: detail::InputKey(e.a, true); break;
    case InputEvent::Type::KeyUp: detail::InputKey(e.a, false); break;
    case InputEvent::Type::ButtonDown: detail::InputButton(e.a, true); break;
    case InputEvent::Type::ButtonUp: detail::InputButton(e.a, false); break;
    case InputEvent::Type::Move: detail::InputMotion(e.a, e.b); break;
    case InputEvent::Type::Wheel: detail::InputWheel(e.a * WHEEL_DELTA); break;
  }
}

void SetInputFocus(bool focused) { detail::InputFocus(focused); }
void FailInputReads(InputDeviceKind kind, int count) { g_failReads[KindIndex(kind)] = count; }
void HoldInputElsewhere(int count) { g_holdElsewhere = count; }
void FailInputCreation(bool fail) { g_failCreate = fail; }
bool IsRelativeMouseMode() { return g_relative; }

void ResetInput() {
  g_script.clear();
  g_scriptSet = false;
  g_failReads[0] = g_failReads[1] = 0;
  g_holdElsewhere = 0;
  g_failCreate = false;
  detail::ResetInputState();
  g_relative = false;
}
}  // namespace headless

namespace detail {
namespace {
class HeadlessInput : public InputBackend {
 public:
  bool CanCreate() override { return !headless::g_failCreate; }
  void SetRelativeMouse(HWND, bool on) override { headless::g_relative = on; }
  // No real waiting: the headless clock moves on instead.
  void Wait(int milliseconds) override { headless::AdvanceTime(static_cast<uint64_t>(milliseconds)); }
  InputResult BeforeRead(InputDeviceKind kind, size_t readIndex) override {
    using namespace headless;
    const int k = KindIndex(kind);
    if (g_scriptSet) {
      if (g_scriptStart[k] == static_cast<size_t>(-1)) g_scriptStart[k] = readIndex;
      const size_t frame = readIndex - g_scriptStart[k];
      if (frame < g_script.size())
        for (const InputEvent& e : g_script[frame])
          if (IsKeyEvent(e) == (kind == InputDeviceKind::Keyboard)) SendInput(e);
    }
    if (g_failReads[k] > 0) {
      --g_failReads[k];
      return InputResult::NotAcquired;
    }
    return InputResult::Ok;
  }
  InputResult BeforeAcquire() override {
    if (headless::g_holdElsewhere > 0) {
      --headless::g_holdElsewhere;
      return InputResult::OtherAppHasPriority;
    }
    return InputResult::Ok;
  }
};
}  // namespace

InputBackend& HeadlessInputBackend() {
  static HeadlessInput backend;
  return backend;
}
}  // namespace detail
}  // namespace platform
