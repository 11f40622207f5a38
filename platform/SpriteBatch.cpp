// The sprite batcher behind ISprite. Sprites queue as quads between Begin
// and End and are drawn in the order they came, one draw call per run of
// sprites sharing a texture. A flush sets the states a sprite needs (alpha
// blending, no depth, no culling or lighting, texture x vertex colour) only
// for its own draws and puts back the values it found, so the states other
// code set (and any cache of them) stay true; text drawn through the same
// sprite, or a flush before other drawing, keeps the call order.
#include <vector>

#include "platform/Graphics.h"
#include "platform/SpriteQuad.h"

namespace platform {

namespace {

constexpr DWORD kSpriteFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct StateValue {
  enum Kind { Render, Sampler, Stage } kind;
  DWORD stageOrSampler;
  DWORD type;
  DWORD value;
};

class SpriteBatch final : public ISprite {
 public:
  explicit SpriteBatch(IDevice* device) : m_Device(device) { m_Device->AddRef(); }

  HRESULT Begin(DWORD flags) override {
    if (m_Begun) return D3DERR_INVALIDCALL;
    m_Begun = true;
    m_Flags = flags;
    return D3D_OK;
  }

  HRESULT Draw(ITexture* texture, const RECT* src, const D3DXVECTOR3* center, const D3DXVECTOR3* position,
               D3DCOLOR color) override {
    if (!m_Begun || !texture) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    if (FAILED(texture->GetLevelDesc(0, &desc))) return D3DERR_INVALIDCALL;
    Quad quad;
    if (!BuildSpriteQuad(m_Transform, src, static_cast<int>(desc.Width), static_cast<int>(desc.Height), center,
                         position, color, quad.v))
      return D3D_OK;  // an empty rectangle shows nothing
    if (m_Textures.empty() || m_Textures.back().texture != texture) {
      texture->AddRef();
      m_Textures.push_back({texture, m_Quads.size()});
    }
    m_Quads.push_back(quad);
    return D3D_OK;
  }

  HRESULT SetTransform(const D3DXMATRIX* transform) override {
    m_Transform = transform ? *transform : D3DXMATRIX();
    return D3D_OK;
  }

  HRESULT Flush() override {
    if (!m_Begun) return D3DERR_INVALIDCALL;
    DrawQueued();
    return D3D_OK;
  }

  HRESULT End() override {
    if (!m_Begun) return D3DERR_INVALIDCALL;
    DrawQueued();
    m_Begun = false;
    return D3D_OK;
  }

  // The batcher holds no device memory of its own; a loss drops what was queued.
  HRESULT OnLostDevice() override {
    Discard();
    m_Begun = false;
    return D3D_OK;
  }
  HRESULT OnResetDevice() override { return D3D_OK; }

 protected:
  ~SpriteBatch() override {
    Discard();
    m_Device->Release();
  }

 private:
  struct Quad {
    SPRITE_VERTEX v[4];
  };
  struct TextureRun {
    ITexture* texture;
    size_t firstQuad;
  };

  void Discard() {
    for (TextureRun& run : m_Textures) run.texture->Release();
    m_Textures.clear();
    m_Quads.clear();
  }

  void Set(StateValue::Kind kind, DWORD index, DWORD type, DWORD value) {
    DWORD old = 0;
    HRESULT hr = D3D_OK;
    switch (kind) {
      case StateValue::Render: hr = m_Device->GetRenderState(type, &old); break;
      case StateValue::Sampler: hr = m_Device->GetSamplerState(index, type, &old); break;
      case StateValue::Stage: hr = m_Device->GetTextureStageState(index, type, &old); break;
    }
    if (FAILED(hr) || old == value) return;
    m_Saved.push_back({kind, index, type, old});
    switch (kind) {
      case StateValue::Render: m_Device->SetRenderState(type, value); break;
      case StateValue::Sampler: m_Device->SetSamplerState(index, type, value); break;
      case StateValue::Stage: m_Device->SetTextureStageState(index, type, value); break;
    }
  }

  void SetSpriteStates() {
    m_Saved.clear();
    const bool blend = (m_Flags & D3DXSPRITE_ALPHABLEND) != 0;
    Set(StateValue::Render, 0, D3DRS_ALPHABLENDENABLE, blend ? 1 : 0);
    if (blend) {
      Set(StateValue::Render, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
      Set(StateValue::Render, 0, D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
      Set(StateValue::Render, 0, D3DRS_BLENDOP, D3DBLENDOP_ADD);
    }
    Set(StateValue::Render, 0, D3DRS_ALPHATESTENABLE, 0);
    Set(StateValue::Render, 0, D3DRS_ZENABLE, 0);
    Set(StateValue::Render, 0, D3DRS_ZWRITEENABLE, 0);
    Set(StateValue::Render, 0, D3DRS_CULLMODE, D3DCULL_NONE);
    Set(StateValue::Render, 0, D3DRS_LIGHTING, 0);
    Set(StateValue::Render, 0, D3DRS_FOGENABLE, 0);
    Set(StateValue::Render, 0, D3DRS_FILLMODE, D3DFILL_SOLID);
    Set(StateValue::Render, 0, D3DRS_COLORWRITEENABLE, 0xF);
    Set(StateValue::Stage, 0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    Set(StateValue::Stage, 0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    Set(StateValue::Stage, 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    Set(StateValue::Stage, 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    Set(StateValue::Stage, 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    Set(StateValue::Stage, 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    Set(StateValue::Stage, 0, D3DTSS_TEXCOORDINDEX, 0);
    Set(StateValue::Stage, 0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    Set(StateValue::Stage, 1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    Set(StateValue::Stage, 1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    Set(StateValue::Sampler, 0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    Set(StateValue::Sampler, 0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    Set(StateValue::Sampler, 0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    Set(StateValue::Sampler, 0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    Set(StateValue::Sampler, 0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  }

  void RestoreStates() {
    for (auto it = m_Saved.rbegin(); it != m_Saved.rend(); ++it) {
      switch (it->kind) {
        case StateValue::Render: m_Device->SetRenderState(it->type, it->value); break;
        case StateValue::Sampler: m_Device->SetSamplerState(it->stageOrSampler, it->type, it->value); break;
        case StateValue::Stage: m_Device->SetTextureStageState(it->stageOrSampler, it->type, it->value); break;
      }
    }
    m_Saved.clear();
  }

  void DrawQueued() {
    if (m_Quads.empty()) {
      Discard();
      return;
    }
    SetSpriteStates();
    m_Device->SetFVF(kSpriteFVF);
    for (size_t r = 0; r < m_Textures.size(); ++r) {
      const size_t first = m_Textures[r].firstQuad;
      const size_t last = r + 1 < m_Textures.size() ? m_Textures[r + 1].firstQuad : m_Quads.size();
      m_Vertices.clear();
      for (size_t q = first; q < last; ++q) {
        const SPRITE_VERTEX* v = m_Quads[q].v;
        // Two triangles: top-left, top-right, bottom-left; bottom-left, top-right, bottom-right.
        m_Vertices.insert(m_Vertices.end(), {v[0], v[1], v[2], v[2], v[1], v[3]});
      }
      m_Device->SetTexture(0, m_Textures[r].texture);
      m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<uint32_t>(2 * (last - first)), m_Vertices.data(),
                                sizeof(SPRITE_VERTEX));
    }
    // The device lets go of the last sprite texture, which the batch does not own.
    m_Device->SetTexture(0, nullptr);
    RestoreStates();
    Discard();
  }

  IDevice* m_Device;
  bool m_Begun = false;
  DWORD m_Flags = 0;
  D3DXMATRIX m_Transform;
  std::vector<Quad> m_Quads;
  std::vector<TextureRun> m_Textures;
  std::vector<SPRITE_VERTEX> m_Vertices;
  std::vector<StateValue> m_Saved;
};

static_assert(sizeof(SPRITE_VERTEX) == 28, "sprite vertices are packed as the vertex format says");

}  // namespace

HRESULT CreateSprite(IDevice* device, ISprite** sprite) {
  if (!sprite) return D3DERR_INVALIDCALL;
  *sprite = nullptr;
  if (!device) return D3DERR_INVALIDCALL;
  *sprite = new SpriteBatch(device);
  return D3D_OK;
}

}  // namespace platform
