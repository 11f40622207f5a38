// Headless windows: no native window; messages come from the test.
#include <array>
#include <cstdio>
#include <functional>

#include "platform/backends/WindowBackend.h"
#include "platform/backends/headless/Headless.h"

namespace platform {
namespace detail {
void ResetMessageQueue();
}

namespace headless {
namespace {
std::function<void()> g_idleHook;
std::function<void()> g_pumpHook;
std::array<bool, 256> g_keys{};
std::vector<WPARAM> g_commands;
std::vector<std::pair<std::string, std::string>> g_boxes;
bool g_failCreate = false;
}  // namespace

void SetIdleHook(std::function<void()> hook) { g_idleHook = std::move(hook); }
void SetPumpHook(std::function<void()> hook) { g_pumpHook = std::move(hook); }
void SetKeyDown(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey < 256) g_keys[virtualKey] = down;
}
const std::vector<WPARAM>& DefaultSystemCommands() { return g_commands; }
const std::vector<std::pair<std::string, std::string>>& MessageBoxes() { return g_boxes; }
void FailWindowCreation(bool fail) { g_failCreate = fail; }
void ResetEvents() {
  detail::ResetMessageQueue();
  g_idleHook = nullptr;
  g_pumpHook = nullptr;
  g_keys.fill(false);
  g_commands.clear();
  g_boxes.clear();
  g_failCreate = false;
}
}  // namespace headless

namespace detail {
namespace {
class HeadlessBackend : public WindowBackend {
 public:
  bool Create(WindowObject*) override { return !headless::g_failCreate; }
  void Destroy(WindowObject*) override {}
  void Show(WindowObject*) override {}
  void Pump() override {
    if (headless::g_pumpHook) headless::g_pumpHook();
  }
  void Wait() override {
    if (headless::g_idleHook) headless::g_idleHook();
  }
  void SystemCommand(WindowObject*, WPARAM command) override { headless::g_commands.push_back(command); }
  short KeyState(int vk) override {
    return (vk >= 0 && vk < 256 && headless::g_keys[vk]) ? static_cast<short>(0x8000) : 0;
  }
  void MessageBox(const std::string& text, const std::string& title) override {
    headless::g_boxes.emplace_back(text, title);
  }
};
}  // namespace

WindowBackend& HeadlessWindowBackend() {
  static HeadlessBackend backend;
  return backend;
}
}  // namespace detail
}  // namespace platform
