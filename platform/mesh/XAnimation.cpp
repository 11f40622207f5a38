#include "platform/mesh/XAnimation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

// Index of the last key at or before t (0 when t is before the first).
template <typename V>
size_t KeyBefore(const std::vector<std::pair<float, V>>& keys, float t) {
  auto it = std::upper_bound(keys.begin(), keys.end(), t,
                             [](float time, const std::pair<float, V>& k) { return time < k.first; });
  return it == keys.begin() ? 0 : (size_t)(it - keys.begin()) - 1;
}

// The keys' value at t: held before the first and after the last key,
// mixed between the two around t.
template <typename V, typename Mix>
V Sample(const std::vector<std::pair<float, V>>& keys, float t, const V& def, Mix mix) {
  if (keys.empty()) return def;
  size_t i = KeyBefore(keys, t);
  if (t <= keys[i].first || i + 1 >= keys.size()) return keys[i].second;
  float span = keys[i + 1].first - keys[i].first;
  float s = span > 0 ? (t - keys[i].first) / span : 0.0f;
  V out;
  mix(&out, &keys[i].second, &keys[i + 1].second, s);
  return out;
}

constexpr uint32_t kMaxCallbacksPerAdvance = 1024;

}  // namespace

// ---------------------------------------------------------------------------

ID3DXAnimationSet::ID3DXAnimationSet(std::string name, double ticksPerSecond, D3DXPLAYBACK_TYPE playback,
                                     std::shared_ptr<const AnimationKeys> keys,
                                     std::vector<D3DXKEY_CALLBACK> callbacks)
    : m_Name(std::move(name)),
      m_TicksPerSecond(ticksPerSecond > 0 ? ticksPerSecond : 4800.0),
      m_Playback(playback),
      m_Keys(keys ? std::move(keys) : std::make_shared<AnimationKeys>()),
      m_Callbacks(std::move(callbacks)) {
  std::stable_sort(m_Callbacks.begin(), m_Callbacks.end(),
                   [](const D3DXKEY_CALLBACK& a, const D3DXKEY_CALLBACK& b) { return a.Time < b.Time; });
  m_Period = m_Keys->LastKeyTime / m_TicksPerSecond;
}

double ID3DXAnimationSet::GetPeriodicPosition(double position) const {
  if (m_Period <= 0) return 0;
  switch (m_Playback) {
    case D3DXPLAY_ONCE:
      return std::min(std::max(position, 0.0), m_Period);
    case D3DXPLAY_PINGPONG: {
      double p = std::fmod(position, 2 * m_Period);
      if (p < 0) p += 2 * m_Period;
      return p > m_Period ? 2 * m_Period - p : p;
    }
    default: {
      double p = std::fmod(position, m_Period);
      if (p < 0) p += m_Period;
      return p;
    }
  }
}

HRESULT ID3DXAnimationSet::GetAnimationNameByIndex(uint32_t index, const char** name) const {
  if (!name || index >= m_Keys->Channels.size()) return E_INVALIDARG;
  *name = m_Keys->Channels[index].Target.c_str();
  return S_OK;
}

HRESULT ID3DXAnimationSet::GetAnimationIndexByName(const char* name, uint32_t* index) const {
  if (!name || !index) return E_INVALIDARG;
  for (uint32_t i = 0; i < m_Keys->Channels.size(); ++i)
    if (m_Keys->Channels[i].Target == name) {
      *index = i;
      return S_OK;
    }
  return E_FAIL;
}

HRESULT ID3DXAnimationSet::GetSRT(double periodicPosition, uint32_t animation, D3DXVECTOR3* scale,
                                  D3DXQUATERNION* rotation, D3DXVECTOR3* translation) const {
  if (animation >= m_Keys->Channels.size()) return E_INVALIDARG;
  const AnimationChannel& c = m_Keys->Channels[animation];
  float t = (float)(periodicPosition * m_TicksPerSecond);
  if (scale) *scale = Sample(c.Scale, t, c.DefaultScale, D3DXVec3Lerp);
  if (rotation) *rotation = Sample(c.Rotation, t, c.DefaultRotation, D3DXQuaternionSlerp);
  if (translation) *translation = Sample(c.Translation, t, c.DefaultTranslation, D3DXVec3Lerp);
  return S_OK;
}

HRESULT ID3DXAnimationSet::GetCallbackKeys(D3DXKEY_CALLBACK* keys) const {
  if (!keys) return E_INVALIDARG;
  std::copy(m_Callbacks.begin(), m_Callbacks.end(), keys);
  return S_OK;
}

HRESULT ID3DXAnimationSet::Compress(uint32_t, float, D3DXFRAME*, ID3DXBuffer** compressedData) const {
  if (!compressedData) return E_INVALIDARG;
  auto* b = new ID3DXBuffer(0);
  b->Payload = m_Keys;
  *compressedData = b;
  return S_OK;
}

HRESULT D3DXCreateCompressedAnimationSet(const char* name, double ticksPerSecond, D3DXPLAYBACK_TYPE playback,
                                         ID3DXBuffer* compressedData, uint32_t numCallbackKeys,
                                         const D3DXKEY_CALLBACK* callbackKeys,
                                         ID3DXCompressedAnimationSet** animationSet) {
  if (!animationSet || !compressedData || !compressedData->Payload || (numCallbackKeys && !callbackKeys))
    return E_INVALIDARG;
  auto keys = std::static_pointer_cast<const AnimationKeys>(compressedData->Payload);
  std::vector<D3DXKEY_CALLBACK> callbacks(callbackKeys, callbackKeys + numCallbackKeys);
  *animationSet = new ID3DXAnimationSet(name ? name : "", ticksPerSecond, playback, keys, std::move(callbacks));
  return S_OK;
}

// ---------------------------------------------------------------------------

ID3DXAnimationController::ID3DXAnimationController(uint32_t maxOutputs, uint32_t maxSets, uint32_t maxTracks,
                                                   uint32_t maxEvents)
    : m_MaxOutputs(maxOutputs), m_MaxSets(maxSets), m_MaxEvents(maxEvents), m_Tracks(maxTracks) {}

ID3DXAnimationController::~ID3DXAnimationController() {
  for (auto& t : m_Tracks) SafeRelease(t.Set);
  for (auto* s : m_Sets) s->Release();
}

HRESULT ID3DXAnimationController::RegisterAnimationOutput(const char* name, D3DXMATRIX* matrix, D3DXVECTOR3* scale,
                                                          D3DXQUATERNION* rotation, D3DXVECTOR3* translation) {
  if (!name || !matrix || scale || rotation || translation) return E_INVALIDARG;
  for (auto& o : m_Outputs)
    if (o.Name == name) {
      o.Matrix = matrix;
      o.Rest = *matrix;
      return S_OK;
    }
  if (m_Outputs.size() >= m_MaxOutputs) return E_FAIL;
  m_Outputs.push_back({name, matrix, *matrix});
  m_Blend.resize(m_Outputs.size());
  for (auto& t : m_Tracks) BindTrack(t);
  return S_OK;
}

HRESULT ID3DXAnimationController::RegisterAnimationSet(ID3DXAnimationSet* set) {
  if (!set) return E_INVALIDARG;
  if (std::find(m_Sets.begin(), m_Sets.end(), set) != m_Sets.end()) return E_INVALIDARG;
  if (m_Sets.size() >= m_MaxSets) return E_FAIL;
  set->AddRef();
  m_Sets.push_back(set);
  return S_OK;
}

HRESULT ID3DXAnimationController::UnregisterAnimationSet(ID3DXAnimationSet* set) {
  auto it = std::find(m_Sets.begin(), m_Sets.end(), set);
  if (it == m_Sets.end()) return E_INVALIDARG;
  m_Sets.erase(it);
  set->Release();
  return S_OK;
}

HRESULT ID3DXAnimationController::GetAnimationSet(uint32_t index, ID3DXAnimationSet** set) const {
  if (!set || index >= m_Sets.size()) return E_INVALIDARG;
  *set = m_Sets[index];
  (*set)->AddRef();
  return S_OK;
}

HRESULT ID3DXAnimationController::GetAnimationSetByName(const char* name, ID3DXAnimationSet** set) const {
  if (!set) return E_INVALIDARG;
  *set = nullptr;
  if (!name) return E_INVALIDARG;
  for (auto* s : m_Sets)
    if (std::strcmp(s->GetName(), name) == 0) {
      s->AddRef();
      *set = s;
      return S_OK;
    }
  return E_FAIL;
}

void ID3DXAnimationController::BindTrack(Track& t) const {
  t.ChannelOutputs.clear();
  if (!t.Set) return;
  const auto& channels = t.Set->Keys()->Channels;
  t.ChannelOutputs.resize(channels.size(), -1);
  for (size_t c = 0; c < channels.size(); ++c)
    for (size_t o = 0; o < m_Outputs.size(); ++o)
      if (m_Outputs[o].Name == channels[c].Target) {
        t.ChannelOutputs[c] = (int)o;
        break;
      }
}

HRESULT ID3DXAnimationController::SetTrackAnimationSet(uint32_t track, ID3DXAnimationSet* set) {
  if (track >= m_Tracks.size()) return E_INVALIDARG;
  Track& t = m_Tracks[track];
  if (set) set->AddRef();
  SafeRelease(t.Set);
  t.Set = set;
  BindTrack(t);
  return S_OK;
}

HRESULT ID3DXAnimationController::GetTrackAnimationSet(uint32_t track, ID3DXAnimationSet** set) const {
  if (track >= m_Tracks.size() || !set) return E_INVALIDARG;
  *set = m_Tracks[track].Set;
  if (*set) (*set)->AddRef();
  return S_OK;
}

HRESULT ID3DXAnimationController::SetTrackEnable(uint32_t track, bool enable) {
  return EditTrack(track, [&](D3DXTRACK_DESC& d) { d.Enable = enable; });
}
HRESULT ID3DXAnimationController::SetTrackSpeed(uint32_t track, float speed) {
  return EditTrack(track, [&](D3DXTRACK_DESC& d) { d.Speed = speed; });
}
HRESULT ID3DXAnimationController::SetTrackWeight(uint32_t track, float weight) {
  return EditTrack(track, [&](D3DXTRACK_DESC& d) { d.Weight = weight; });
}
HRESULT ID3DXAnimationController::SetTrackPosition(uint32_t track, double position) {
  return EditTrack(track, [&](D3DXTRACK_DESC& d) { d.Position = position; });
}
HRESULT ID3DXAnimationController::SetTrackPriority(uint32_t track, uint32_t priority) {
  return EditTrack(track, [&](D3DXTRACK_DESC& d) { d.Priority = priority; });
}
HRESULT ID3DXAnimationController::GetTrackDesc(uint32_t track, D3DXTRACK_DESC* desc) const {
  if (track >= m_Tracks.size() || !desc) return E_INVALIDARG;
  *desc = m_Tracks[track].Desc;
  return S_OK;
}

HRESULT ID3DXAnimationController::ResetTime() {
  m_Time = 0;
  return S_OK;
}

void ID3DXAnimationController::FireCallbacks(uint32_t trackIndex, const Track& t, double from, double to,
                                             ID3DXAnimationCallbackHandler* handler) const {
  const ID3DXAnimationSet* set = t.Set;
  const auto& keys = set->CallbackKeys();
  if (keys.empty() || !(to > from)) return;
  const double tps = set->GetSourceTicksPerSecond();
  const double period = set->GetPeriod();
  uint32_t fired = 0;
  if (set->GetPlaybackType() == D3DXPLAY_ONCE || period <= 0) {
    for (const auto& k : keys) {
      double kt = k.Time / tps;
      if (period > 0 && kt > period) continue;  // past the end: never reached
      if (kt >= from && kt < to && fired++ < kMaxCallbacksPerAdvance) handler->HandleCallback(trackIndex, k.pCallbackData);
    }
    return;
  }
  // Looping: every pass through the period fires the keys it contains. A
  // key at exactly the period closes its pass (it fires where the next pass
  // begins), so the pass before the one holding `from` is looked at too,
  // when there is one; a key beyond the period belongs to no pass.
  double cycle = std::floor(from / period);
  if (cycle > 0) cycle -= 1.0;
  for (; cycle * period < to && fired < kMaxCallbacksPerAdvance; cycle += 1.0) {
    for (const auto& k : keys) {
      double kt = k.Time / tps;
      if (kt > period) continue;
      double at = cycle * period + kt;
      if (at >= from && at < to) {
        handler->HandleCallback(trackIndex, k.pCallbackData);
        if (++fired >= kMaxCallbacksPerAdvance) break;
      }
    }
  }
}

HRESULT ID3DXAnimationController::AdvanceTime(double dt, ID3DXAnimationCallbackHandler* handler) {
  if (!std::isfinite(dt)) return E_INVALIDARG;
  m_Time += dt;
  for (auto& b : m_Blend) {
    b.Touched = false;
    b.Weight = 0;
  }
  // Positions move first, then the pose is blended from every enabled track.
  bool anyCallbacks = false;
  for (auto& t : m_Tracks) {
    if (!t.Desc.Enable) continue;
    t.Desc.Position += dt * t.Desc.Speed;
    if (t.Set && t.Set->GetNumCallbackKeys()) anyCallbacks = true;
  }
  for (auto& t : m_Tracks) {
    if (!t.Desc.Enable || !t.Set || t.Desc.Weight <= 0) continue;
    double pos = t.Set->GetPeriodicPosition(t.Desc.Position);
    for (size_t c = 0; c < t.ChannelOutputs.size(); ++c) {
      int o = t.ChannelOutputs[c];
      if (o < 0) continue;
      D3DXVECTOR3 s, tr;
      D3DXQUATERNION q;
      t.Set->GetSRT(pos, (uint32_t)c, &s, &q, &tr);
      Blend& b = m_Blend[o];
      float w = t.Desc.Weight;
      if (!b.Touched) {
        b = Blend();
        b.Touched = true;
        b.Scale = s * w;
        b.Translation = tr * w;
        b.Rotation = D3DXQUATERNION(q.x * w, q.y * w, q.z * w, q.w * w);
        b.Weight = w;
      } else {
        if (D3DXQuaternionDot(&b.Rotation, &q) < 0) w = -w;  // shortest way
        b.Rotation = D3DXQUATERNION(b.Rotation.x + q.x * w, b.Rotation.y + q.y * w, b.Rotation.z + q.z * w,
                                    b.Rotation.w + q.w * w);
        w = std::fabs(w);
        b.Scale += s * w;
        b.Translation += tr * w;
        b.Weight += w;
      }
    }
  }
  for (size_t o = 0; o < m_Blend.size(); ++o) {
    Blend& b = m_Blend[o];
    if (!b.Touched || b.Weight <= 0) {
      *m_Outputs[o].Matrix = m_Outputs[o].Rest;
      continue;
    }
    D3DXVECTOR3 s = b.Scale / b.Weight, tr = b.Translation / b.Weight;
    D3DXQUATERNION q;
    D3DXQuaternionNormalize(&q, &b.Rotation);
    D3DXMatrixTransformation(m_Outputs[o].Matrix, &s, &q, &tr);
  }
  if (handler && anyCallbacks && dt > 0) {
    for (uint32_t i = 0; i < m_Tracks.size(); ++i) {
      const Track& t = m_Tracks[i];
      if (!t.Desc.Enable || !t.Set || t.Desc.Speed <= 0) continue;
      double to = t.Desc.Position;
      double from = to - dt * t.Desc.Speed;
      FireCallbacks(i, t, from, to, handler);
    }
  }
  return S_OK;
}

HRESULT ID3DXAnimationController::CloneAnimationController(uint32_t maxOutputs, uint32_t maxSets,
                                                           uint32_t maxTracks, uint32_t maxEvents,
                                                           ID3DXAnimationController** clone) const {
  if (!clone) return E_INVALIDARG;
  *clone = nullptr;
  if (maxOutputs < m_Outputs.size() || maxSets < m_Sets.size()) return E_INVALIDARG;
  auto* c = new ID3DXAnimationController(maxOutputs, maxSets, maxTracks, maxEvents);
  c->m_Outputs = m_Outputs;
  c->m_Blend.resize(m_Outputs.size());
  for (auto* s : m_Sets) {
    s->AddRef();
    c->m_Sets.push_back(s);
  }
  for (uint32_t i = 0; i < maxTracks && i < m_Tracks.size(); ++i) {
    c->m_Tracks[i].Desc = m_Tracks[i].Desc;
    c->SetTrackAnimationSet(i, m_Tracks[i].Set);
  }
  c->m_Time = m_Time;
  *clone = c;
  return S_OK;
}

}  // namespace platform
