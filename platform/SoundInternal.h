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

// Brings a mixer that mixes only when asked (the unheard one) up to now, so
// that a sound started, stopped or rewound now changes only what follows:
// the time before it is not played by a sound that starts, and is played by
// one that stops. Nothing to do on an output that mixes on its own.
void MixUpToNow();

}  // namespace sound_internal
}  // namespace platform
