// The 2D sprite batcher, drawn through any device as screen-space quads.
#include <cstring>
#include <vector>

#include "platform/Graphics.h"
#include "platform/SavedStates.h"

namespace platform {
namespace {

struct SpriteVertex {
  float x, y, z, rhw;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kSpriteFVF = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class Sprite final : public ISprite {
 public:
  explicit Sprite(IDevice* device) : m_Device(device), m_Saved(device) {
    m_Device->AddRef();
    D3DXMatrixIdentity(&m_Transform);
  }

  HRESULT Begin(DWORD flags) override {
    if (m_Begun) return D3DERR_INVALIDCALL;
    m_Begun = true;
    m_Flags = flags;
    m_Saved.Render(D3DRS_ALPHABLENDENABLE, (flags & D3DXSPRITE_ALPHABLEND) ? 1 : 0);
    m_Saved.Render(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_Saved.Render(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    m_Saved.Render(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    m_Saved.Render(D3DRS_ALPHATESTENABLE, (flags & D3DXSPRITE_ALPHABLEND) ? 1 : 0);
    m_Saved.Render(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    m_Saved.Render(D3DRS_ALPHAREF, 0);
    m_Saved.Render(D3DRS_CULLMODE, D3DCULL_NONE);
    m_Saved.Render(D3DRS_ZENABLE, 0);
    m_Saved.Render(D3DRS_FOGENABLE, 0);
    m_Saved.Render(D3DRS_LIGHTING, 0);
    m_Saved.Render(D3DRS_FILLMODE, D3DFILL_SOLID);
    m_Saved.Render(D3DRS_COLORWRITEENABLE, 0xF);
    m_Saved.Render(D3DRS_SEPARATEALPHABLENDENABLE, 0);
    m_Saved.Stage(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    m_Saved.Stage(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    m_Saved.Stage(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    m_Saved.Stage(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_Saved.Stage(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    m_Saved.Stage(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    m_Saved.Stage(0, D3DTSS_TEXCOORDINDEX, 0);
    m_Saved.Stage(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    m_Saved.Stage(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    m_Saved.Stage(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    m_Saved.Sampler(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    m_Saved.Sampler(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    m_Saved.Sampler(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    m_Saved.Sampler(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    m_Saved.Sampler(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    // Stage 0's texture is given back at the end, like the states.
    if (FAILED(m_Device->GetTexture(0, &m_SavedTexture))) m_SavedTexture = nullptr;
    return D3D_OK;
  }

  HRESULT Draw(ITexture* texture, const RECT* src, const D3DXVECTOR3* center, const D3DXVECTOR3* position,
               D3DCOLOR color) override {
    if (!m_Begun) return D3DERR_INVALIDCALL;
    if (!texture) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    if (FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width == 0 || desc.Height == 0)
      return D3DERR_INVALIDCALL;
    RECT r;
    if (src) r = *src;
    else r = RECT{0, 0, int32_t(desc.Width), int32_t(desc.Height)};
    // Rectangles come from data files: their sizes are taken in 64 bits.
    const float w = float(int64_t(r.right) - r.left), h = float(int64_t(r.bottom) - r.top);
    const float cx = center ? center->x : 0.0f, cy = center ? center->y : 0.0f;
    const float px = position ? position->x : 0.0f, py = position ? position->y : 0.0f;
    const float u0 = float(r.left) / float(desc.Width), u1 = float(r.right) / float(desc.Width);
    const float v0 = float(r.top) / float(desc.Height), v1 = float(r.bottom) / float(desc.Height);
    const float xs[4] = {0, w, 0, w}, ys[4] = {0, 0, h, h};
    const float us[4] = {u0, u1, u0, u1}, vs[4] = {v0, v0, v1, v1};
    SpriteVertex corner[4];
    for (int i = 0; i < 4; ++i) {
      D3DXVECTOR3 p(xs[i] - cx + px, ys[i] - cy + py, 0.0f), out;
      D3DXVec3TransformCoord(&out, &p, &m_Transform);
      // Pixel centres lie at integer coordinates: edges at -0.5.
      corner[i] = SpriteVertex{out.x - 0.5f, out.y - 0.5f, 0.0f, 1.0f, color, us[i], vs[i]};
    }
    if (!m_Runs.empty() && m_Runs.back().texture == texture) {
      m_Runs.back().quads++;
    } else {
      texture->AddRef();
      m_Runs.push_back(Run{texture, 1});
    }
    const int order[6] = {0, 1, 2, 2, 1, 3};
    for (int i : order) m_Vertices.push_back(corner[i]);
    return D3D_OK;
  }

  HRESULT SetTransform(const D3DXMATRIX* transform) override {
    if (!transform) return D3DERR_INVALIDCALL;
    m_Transform = *transform;
    return D3D_OK;
  }

  HRESULT Flush() override {
    HRESULT result = D3D_OK;
    size_t first = 0;
    if (!m_Runs.empty()) m_Device->SetFVF(kSpriteFVF);
    for (Run& run : m_Runs) {
      m_Device->SetTexture(0, run.texture);
      const HRESULT hr = m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, run.quads * 2, &m_Vertices[first],
                                                   sizeof(SpriteVertex));
      if (FAILED(hr)) result = hr;
      first += size_t(run.quads) * 6;
      run.texture->Release();
    }
    m_Runs.clear();
    m_Vertices.clear();
    return result;
  }

  HRESULT End() override {
    if (!m_Begun) return D3DERR_INVALIDCALL;
    const HRESULT hr = Flush();
    m_Saved.Restore();
    m_Device->SetTexture(0, m_SavedTexture);
    if (m_SavedTexture) m_SavedTexture->Release();
    m_SavedTexture = nullptr;
    m_Begun = false;
    return hr;
  }

  HRESULT OnLostDevice() override {
    if (m_Begun) End();
    return D3D_OK;
  }
  HRESULT OnResetDevice() override { return D3D_OK; }

 protected:
  ~Sprite() override {
    for (Run& run : m_Runs) run.texture->Release();
    if (m_SavedTexture) m_SavedTexture->Release();
    m_Device->Release();
  }

 private:
  struct Run {
    ITexture* texture;
    uint32_t quads;
  };

  IDevice* m_Device;
  D3DXMATRIX m_Transform;
  bool m_Begun = false;
  DWORD m_Flags = 0;
  SavedStates m_Saved;  // what Begin changed, given back at End
  ITexture* m_SavedTexture = nullptr;  // stage 0's texture at Begin, held until End
  std::vector<SpriteVertex> m_Vertices;
  std::vector<Run> m_Runs;
};

}  // namespace

HRESULT CreateSprite(IDevice* device, ISprite** sprite) {
  if (!device || !sprite) return D3DERR_INVALIDCALL;
  *sprite = new Sprite(device);
  return D3D_OK;
}

}  // namespace platform
