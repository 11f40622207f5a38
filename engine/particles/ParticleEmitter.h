#pragma once
// Particle emitters: scene nodes that emit, move, age and draw camera-facing
// textured quads. The five kinds differ only in where a particle starts and
// which way it flies. All particle memory is allocated once per emitter:
// emission and death only move pool indices through the free-slot queue.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/particles/ParticleParams.h"
#include "engine/resources/Resource.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneNode.h"
#include "platform/Graphics.h"
#include "platform/Math.h"

namespace Nembra {

class CParticleEmitter;

// The free-slot queue: pool indices in the order they were freed, in a ring
// sized once with the pool, so emission and death never allocate.
class CFreeSlotQueue {
 public:
  // Empties the queue and gives it room for capacity indices.
  void Reset(uint32_t capacity) {
    m_Slots.assign(capacity, 0);
    m_Head = 0;
    m_Count = 0;
  }
  bool empty() const { return m_Count == 0; }
  size_t size() const { return m_Count; }
  int front() const { return m_Slots[m_Head]; }
  void pop_front() {
    if (++m_Head == m_Slots.size()) m_Head = 0;
    --m_Count;
  }
  // An index is in the queue at most once, so the ring never overflows; a
  // push into a full ring is dropped all the same.
  void push_back(int index) {
    if (m_Count == m_Slots.size()) return;
    size_t tail = m_Head + m_Count;
    if (tail >= m_Slots.size()) tail -= m_Slots.size();
    m_Slots[tail] = index;
    ++m_Count;
  }

 private:
  std::vector<int> m_Slots;
  size_t m_Head = 0;
  size_t m_Count = 0;
};

// The emitter's entry in the frame's particle queue: identity world
// matrix, the emitter's state block, the default material, the
// parameters' texture set; drawing is the emitter's.
class CParticleSystemGeometrySet : public CGeometrySet {
 public:
  explicit CParticleSystemGeometrySet(CParticleEmitter* owner) : m_Owner(owner) {}
  void Draw() override;

 private:
  CParticleEmitter* m_Owner;
};

class CParticleEmitter : public CSceneNode, public CVolatileResource {
 public:
  CParticleEmitter();
  ~CParticleEmitter() override;
  CParticleEmitter(const CParticleEmitter&) = delete;
  CParticleEmitter& operator=(const CParticleEmitter&) = delete;

  // Replaces the parameters by a copy of the record (kind fields included)
  // and initialises the pool. The maximum particle count is clamped to
  // what 16-bit indices can address. The emitter takes its own references
  // to the record's texture and state block and gives them back when it
  // goes or gets new parameters.
  bool SetParams(const EMITTER_PARAMS& params);
  // Resets emission, fills the pool and the free-slot queue, makes the
  // device buffers and registers for device resets. False when a buffer
  // cannot be made (the emitter then simulates but does not draw).
  bool InitPool();

  // Per frame: UpdateParticles, then the frame's particle queue, whatever
  // the result. Emitters are not culled.
  void OnUpdate() override;
  // Simulate with the frame time, the node's world position and the
  // device's view matrix.
  bool UpdateParticles();
  // Writes the live particles into the buffers and draws them; false when
  // there are no buffers or the draw fails.
  bool Draw();

  // One frame of simulation: emission, ageing and movement of every live
  // particle, with the emitter at origin and the camera's view matrix.
  // False once finished.
  bool Simulate(float dt, const D3DXVECTOR3& origin, const D3DXMATRIX& view);

  virtual void EmitParticles();
  virtual void SetStartPosition(PARTICLE& p) = 0;
  virtual void SetStartVelocity(PARTICLE& p) = 0;

  // Writes the live particles' quads (four vertices, six indices each) into
  // the given arrays, which hold room for the whole pool; answers the
  // number of particles written.
  uint32_t FillBuffers(PARTICLE_VERTEX* vertices, uint16_t* indices) const;

  void OnLostDevice() override;
  void OnResetDevice() override;

  bool IsStopped() const { return m_Stopped != 0; }
  // Ends emission from outside; the live particles play out, and the
  // emitter reports finished once the last of them is gone.
  void Stop() { m_Stopped = 1; }
  bool IsFinished() const { return m_Finished != 0; }
  bool IsReady() const { return m_Ready != 0; }
  const EMITTER_PARAMS* GetParams() const { return m_Params.get(); }
  EMITTER_PARAMS* GetParams() { return m_Params.get(); }
  const std::vector<PARTICLE>& GetPool() const { return m_Pool; }
  size_t GetFreeCount() const { return m_FreeSlots.size(); }
  uint32_t GetLiveCount() const { return static_cast<uint32_t>(m_Pool.size() - m_FreeSlots.size()); }
  float GetElapsed() const { return m_Elapsed; }
  const D3DXVECTOR3& GetCameraRight() const { return m_CameraRight; }
  const D3DXVECTOR3& GetCameraUp() const { return m_CameraUp; }
  CParticleSystemGeometrySet& GetGeometrySet() { return m_GeometrySet; }
  bool HasBuffers() const { return m_pVertexBuffer && m_pIndexBuffer; }

 protected:
  bool CreateBuffers();
  void ReleaseBuffers();
  // Starts particles from the front of the free-slot queue until the count
  // to emit is done or no slot is left.
  void EmitFromQueue();
  void EmitOne(PARTICLE& p, int index);
  // A random direction in the cone of the spread about +z.
  D3DXVECTOR3 RandomConeDirection();
  // The directed start velocity of the sphere and cylinder kinds.
  D3DXVECTOR3 DirectedVelocity(float s);
  // The rotation taking +z onto the parameters' direction, kept in
  // m_DirectionMatrix for the point, line and line-strip kinds.
  void BuildDirectionMatrix();

  CParticleSystemGeometrySet m_GeometrySet{this};
  D3DXVECTOR3 m_CameraRight{1.0f, 0.0f, 0.0f};
  D3DXVECTOR3 m_CameraUp{0.0f, 1.0f, 0.0f};
  std::unique_ptr<EMITTER_PARAMS> m_Params;
  float m_Elapsed = 0.0f;
  uint8_t m_Ready = 0;
  bool m_Registered = false;  // in the device's volatile list
  CMaterial* m_pMaterial = nullptr;  // the default material, one reference
  platform::IVertexBuffer* m_pVertexBuffer = nullptr;
  platform::IIndexBuffer* m_pIndexBuffer = nullptr;
  std::vector<PARTICLE> m_Pool;
  CFreeSlotQueue m_FreeSlots;
  float m_EmissionTimer = 0.0f;
  uint32_t m_ToEmit = 0;
  float m_Accumulator = 0.0f;
  uint8_t m_Stopped = 0;
  uint8_t m_Finished = 0;

  // Of the frame being simulated.
  D3DXVECTOR3 m_Origin;
  float m_FrameTime = 0.0f;

  // Scratch of the last start velocity or position.
  float m_Inclination = 0.0f;
  float m_Azimuth = 0.0f;
  float m_Speed = 0.0f;
  D3DXMATRIX m_DirectionMatrix;
};

class CPointParticleEmitter : public CParticleEmitter {
 public:
  void EmitParticles() override;
  void SetStartPosition(PARTICLE& p) override;
  void SetStartVelocity(PARTICLE& p) override;
};

class CSphereParticleEmitter : public CParticleEmitter {
 public:
  void SetStartPosition(PARTICLE& p) override;
  void SetStartVelocity(PARTICLE& p) override;
};

class CLineParticleEmitter : public CParticleEmitter {
 public:
  void EmitParticles() override;
  void SetStartPosition(PARTICLE& p) override;
  void SetStartVelocity(PARTICLE& p) override;
};

class CLineStripParticleEmitter : public CParticleEmitter {
 public:
  void EmitParticles() override;
  void SetStartPosition(PARTICLE& p) override;
  void SetStartVelocity(PARTICLE& p) override;
};

class CCylinderParticleEmitter : public CParticleEmitter {
 public:
  void SetStartPosition(PARTICLE& p) override;
  void SetStartVelocity(PARTICLE& p) override;
};

// A new emitter of the given kind; null for an unknown kind.
std::unique_ptr<CParticleEmitter> MakeParticleEmitter(int32_t kind);

}  // namespace Nembra
