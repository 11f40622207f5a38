#pragma once
// Keyframed animation sets and the animation controller: tracks with a
// set, speed, weight, position and enable flag; looping and one-shot
// playback; AdvanceTime writes the blended pose of every enabled track into
// the registered output matrices and fires the sets' callback keys whose
// times fall in [old position, new position) of each track. In a looping
// set a key at exactly the period fires at the end of each pass; keys past
// the period never fire.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Math.h"
#include "platform/mesh/XMesh.h"
#include "platform/mesh/XTypes.h"

namespace platform {

struct D3DXFRAME;

enum D3DXPLAYBACK_TYPE { D3DXPLAY_LOOP = 0, D3DXPLAY_ONCE = 1, D3DXPLAY_PINGPONG = 2 };

// Compression flags (accepted; compression keeps every key).
constexpr DWORD D3DXCOMPRESS_DEFAULT = 0;

// A key-frame callback: Time is in the set's ticks.
struct D3DXKEY_CALLBACK {
  float Time = 0;
  void* pCallbackData = nullptr;
};

struct D3DXTRACK_DESC {
  uint32_t Priority = 0;
  float Weight = 1.0f;
  float Speed = 1.0f;
  double Position = 0.0;
  bool Enable = false;
};

class ID3DXAnimationCallbackHandler {
 public:
  virtual ~ID3DXAnimationCallbackHandler() = default;
  virtual HRESULT HandleCallback(uint32_t track, void* pCallbackData) = 0;
};

// The key frames of one animated frame. Times are in ticks, sorted.
struct AnimationChannel {
  std::string Target;
  std::vector<std::pair<float, D3DXVECTOR3>> Scale;
  std::vector<std::pair<float, D3DXQUATERNION>> Rotation;
  std::vector<std::pair<float, D3DXVECTOR3>> Translation;
  // Components without keys take these (the frame's own transform).
  D3DXVECTOR3 DefaultScale{1, 1, 1};
  D3DXQUATERNION DefaultRotation;
  D3DXVECTOR3 DefaultTranslation;
};

struct AnimationKeys {
  std::vector<AnimationChannel> Channels;
  float LastKeyTime = 0;  // ticks
};

class ID3DXAnimationSet : public IUnknownObject {
 public:
  ID3DXAnimationSet(std::string name, double ticksPerSecond, D3DXPLAYBACK_TYPE playback,
                    std::shared_ptr<const AnimationKeys> keys,
                    std::vector<D3DXKEY_CALLBACK> callbacks = {});

  const char* GetName() const { return m_Name.c_str(); }
  // Seconds of one pass through the set.
  double GetPeriod() const { return m_Period; }
  // Position (seconds) mapped into one period by the playback type.
  double GetPeriodicPosition(double position) const;
  uint32_t GetNumAnimations() const { return (uint32_t)m_Keys->Channels.size(); }
  HRESULT GetAnimationNameByIndex(uint32_t index, const char** name) const;
  HRESULT GetAnimationIndexByName(const char* name, uint32_t* index) const;
  // Scale, rotation and translation of one animation at a periodic position.
  HRESULT GetSRT(double periodicPosition, uint32_t animation, D3DXVECTOR3* scale, D3DXQUATERNION* rotation,
                 D3DXVECTOR3* translation) const;

  double GetSourceTicksPerSecond() const { return m_TicksPerSecond; }
  D3DXPLAYBACK_TYPE GetPlaybackType() const { return m_Playback; }
  uint32_t GetNumCallbackKeys() const { return (uint32_t)m_Callbacks.size(); }
  HRESULT GetCallbackKeys(D3DXKEY_CALLBACK* keys) const;
  const std::vector<D3DXKEY_CALLBACK>& CallbackKeys() const { return m_Callbacks; }

  // The set's key data in a buffer, to be made into a set with callbacks.
  HRESULT Compress(uint32_t flags, float lossiness, D3DXFRAME* hierarchy, ID3DXBuffer** compressedData) const;

  const std::shared_ptr<const AnimationKeys>& Keys() const { return m_Keys; }

 private:
  std::string m_Name;
  double m_TicksPerSecond;
  D3DXPLAYBACK_TYPE m_Playback;
  std::shared_ptr<const AnimationKeys> m_Keys;
  std::vector<D3DXKEY_CALLBACK> m_Callbacks;  // sorted by time
  double m_Period;
};
using ID3DXKeyframedAnimationSet = ID3DXAnimationSet;
using ID3DXCompressedAnimationSet = ID3DXAnimationSet;

// A set from compressed data with the given callback keys (copied).
HRESULT D3DXCreateCompressedAnimationSet(const char* name, double ticksPerSecond, D3DXPLAYBACK_TYPE playback,
                                         ID3DXBuffer* compressedData, uint32_t numCallbackKeys,
                                         const D3DXKEY_CALLBACK* callbackKeys,
                                         ID3DXCompressedAnimationSet** animationSet);

class ID3DXAnimationController : public IUnknownObject {
 public:
  ID3DXAnimationController(uint32_t maxOutputs, uint32_t maxSets, uint32_t maxTracks, uint32_t maxEvents);
  ~ID3DXAnimationController() override;

  uint32_t GetMaxNumAnimationOutputs() const { return m_MaxOutputs; }
  uint32_t GetMaxNumAnimationSets() const { return m_MaxSets; }
  uint32_t GetMaxNumTracks() const { return (uint32_t)m_Tracks.size(); }
  uint32_t GetMaxNumEvents() const { return m_MaxEvents; }

  // Only matrix outputs are kept; the other pointers must be null.
  HRESULT RegisterAnimationOutput(const char* name, D3DXMATRIX* matrix, D3DXVECTOR3* scale = nullptr,
                                  D3DXQUATERNION* rotation = nullptr, D3DXVECTOR3* translation = nullptr);
  HRESULT RegisterAnimationSet(ID3DXAnimationSet* set);
  HRESULT UnregisterAnimationSet(ID3DXAnimationSet* set);
  uint32_t GetNumAnimationSets() const { return (uint32_t)m_Sets.size(); }
  // The out-parameters receive a reference the caller releases.
  HRESULT GetAnimationSet(uint32_t index, ID3DXAnimationSet** set) const;
  HRESULT GetAnimationSetByName(const char* name, ID3DXAnimationSet** set) const;

  HRESULT SetTrackAnimationSet(uint32_t track, ID3DXAnimationSet* set);
  HRESULT GetTrackAnimationSet(uint32_t track, ID3DXAnimationSet** set) const;
  HRESULT SetTrackEnable(uint32_t track, bool enable);
  HRESULT SetTrackSpeed(uint32_t track, float speed);
  HRESULT SetTrackWeight(uint32_t track, float weight);
  HRESULT SetTrackPosition(uint32_t track, double position);
  HRESULT SetTrackPriority(uint32_t track, uint32_t priority);
  HRESULT GetTrackDesc(uint32_t track, D3DXTRACK_DESC* desc) const;

  // Moves global time and every enabled track on by dt seconds (times the
  // track speed), writes the pose, then fires callback keys through the
  // handler when one is given. A zero dt rewrites the pose and fires none.
  // The pose is whole: an output no enabled track animates gets the matrix
  // it held when registered (the frame's own), so users of shared frames
  // never see what another controller left there.
  HRESULT AdvanceTime(double dt, ID3DXAnimationCallbackHandler* handler);
  HRESULT ResetTime();
  double GetTime() const { return m_Time; }

  // An independent controller with the same outputs, sets and tracks.
  HRESULT CloneAnimationController(uint32_t maxOutputs, uint32_t maxSets, uint32_t maxTracks,
                                   uint32_t maxEvents, ID3DXAnimationController** clone) const;

 private:
  struct Output {
    std::string Name;
    D3DXMATRIX* Matrix;
    D3DXMATRIX Rest;  // the matrix as registered
  };
  struct Track {
    ID3DXAnimationSet* Set = nullptr;
    D3DXTRACK_DESC Desc;
    std::vector<int> ChannelOutputs;  // output index per channel of the set, -1 none
  };
  struct Blend {
    float Weight = 0;
    D3DXVECTOR3 Scale;
    D3DXQUATERNION Rotation{0, 0, 0, 0};
    D3DXVECTOR3 Translation;
    bool Touched = false;
  };
  void BindTrack(Track& t) const;
  template <typename Edit>
  HRESULT EditTrack(uint32_t track, Edit edit) {
    if (track >= m_Tracks.size()) return E_INVALIDARG;
    edit(m_Tracks[track].Desc);
    return S_OK;
  }
  void FireCallbacks(uint32_t trackIndex, const Track& t, double from, double to,
                     ID3DXAnimationCallbackHandler* handler) const;

  uint32_t m_MaxOutputs;
  uint32_t m_MaxSets;
  uint32_t m_MaxEvents;
  std::vector<Output> m_Outputs;
  std::vector<ID3DXAnimationSet*> m_Sets;
  std::vector<Track> m_Tracks;
  std::vector<Blend> m_Blend;
  double m_Time = 0;
};

}  // namespace platform
