#pragma once
// Beams: textured strips in the world (shots, lasers, circuit links, item
// markers). The node's position is one end; the strip runs a length
// against its direction, with a width, either laid flat once (facing
// straight up) or turned to the camera every frame. Drawn in the frame's
// beam queue through the beam's own geometry set.
#include <cstdint>
#include <string>

#include "engine/particles/ParticleParams.h"
#include "engine/resources/Resource.h"
#include "engine/resources/Texture.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneNode.h"
#include "platform/Graphics.h"

namespace Nembra {

class CBeam;
class CShader;
class CMaterial;

class CBeamGeometrySet : public CGeometrySet {
 public:
  explicit CBeamGeometrySet(CBeam* owner) : m_Owner(owner) {}
  void Draw() override;

 private:
  CBeam* m_Owner;
};

class CBeam : public CSceneNode, public CVolatileResource {
 public:
  CBeam();
  ~CBeam() override;
  CBeam(const CBeam&) = delete;
  CBeam& operator=(const CBeam&) = delete;

  // Makes the vertex buffer, takes the beam state block, the default
  // material and the texture, and registers for device resets. A beam that
  // does not face the camera is laid out once here, from the node's own
  // position. Calling it again replaces what the first call took.
  void Create(const std::string& textureName, float length, float width, const D3DXVECTOR3& direction,
              bool facesCamera);
  // Puts the texture into stage 0 (the caller keeps its reference).
  void SetTexture(CTexture* texture);

  // Per frame, when visible: Draw, then the frame's beam queue.
  void OnUpdate() override;
  // A camera-facing beam is laid out again from its world position and the
  // active camera's direction; true.
  bool Draw();
  // Copies the four vertices into the buffer and draws the strip; false
  // (and nothing sent) without a buffer.
  bool Render();

  void OnLostDevice() override;
  void OnResetDevice() override;

  // Lays the strip out from start S with view vector V: the far end is
  // S - direction x length, the side vector the unit normal of (S - E) x V
  // times the half width (zero when they are parallel).
  void LayOut(const D3DXVECTOR3& start, const D3DXVECTOR3& view);

  const PARTICLE_VERTEX* GetVertices() const { return m_Vertices; }
  bool FacesCamera() const { return m_FacesCamera; }
  bool HasBuffer() const { return m_pVertexBuffer != nullptr; }
  CShader* GetStateBlock() const { return m_pStateBlock; }
  const CTextureSet& GetTextureSet() const { return m_TextureSet; }
  CBeamGeometrySet& GetGeometrySet() { return m_GeometrySet; }

  float length = 200.0f;
  float halfWidth = 40.0f;
  D3DXVECTOR3 direction;
  bool visible = true;

  static const char* const STATE_BLOCK_NAME;  // "AUTO_BEAM_SHADER_NAME"

 private:
  bool CreateBuffer();
  void ReleaseBuffer();
  void ReleaseResources();

  platform::IVertexBuffer* m_pVertexBuffer = nullptr;
  PARTICLE_VERTEX m_Vertices[4];
  CShader* m_pStateBlock = nullptr;
  CMaterial* m_pMaterial = nullptr;
  CTextureSet m_TextureSet;
  CTexture* m_pOwnTexture = nullptr;  // the reference Create took
  CBeamGeometrySet m_GeometrySet{this};
  bool m_FacesCamera = false;
  bool m_Registered = false;
};

}  // namespace Nembra
