#pragma once
// Shared between the sound units of the platform layer; not for the engine.
namespace platform {
namespace sound_internal {

// A stream that UpdateAudio feeds once per frame.
class FedStream {
 public:
  virtual ~FedStream() = default;
  virtual void Feed() = 0;
};

void RegisterStream(FedStream* stream);
void UnregisterStream(FedStream* stream);

}  // namespace sound_internal
}  // namespace platform
