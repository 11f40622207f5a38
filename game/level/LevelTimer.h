#pragma once
// A named stopwatch of the running level. Scripts register events (a time
// in seconds and a script file); while the timer runs, the script of the
// next event runs once the elapsed time has reached the event's time, at
// most one event per frame. Times count from the last Start.
#include <deque>
#include <string>

class CLevelTimer {
 public:
  struct EVENT {
    float time = 0.0f;
    std::string script;  // in the script folder; empty: nothing runs
  };

  void Start() {
    m_Running = true;
    m_Elapsed = 0.0f;
  }
  void Stop() { m_Running = false; }
  void Resume() { m_Running = true; }
  float GetTime() const { return m_Elapsed; }
  bool IsRunning() const { return m_Running; }

  // Appends the event unless its time is not later than the last queued
  // one (then nothing happens), so the queue is in strictly rising time.
  void RegisterEvent(float time, const std::string& script);
  void ClearEvents() { m_Events.clear(); }
  const std::deque<EVENT>& GetEvents() const { return m_Events; }

  // Advances a running timer by the frame time and runs the front event
  // when it is due. The event leaves the queue before its script runs, so
  // the script may clear or refill the queue.
  void Update();

 private:
  bool m_Running = false;
  float m_Elapsed = 0.0f;
  std::deque<EVENT> m_Events;
};
