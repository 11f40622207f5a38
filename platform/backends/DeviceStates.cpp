#include "platform/backends/DeviceStates.h"

#include <cstring>

namespace platform {
namespace detail {

void DeviceStates::SetDefaults() {
  std::memset(render, 0, sizeof render);
  std::memset(sampler, 0, sizeof sampler);
  std::memset(stage, 0, sizeof stage);
  const float one = 1.0f, sixtyFour = 64.0f;
  render[D3DRS_ZENABLE] = D3DZB_TRUE;
  render[D3DRS_FILLMODE] = D3DFILL_SOLID;
  render[D3DRS_SHADEMODE] = 2;
  render[D3DRS_ZWRITEENABLE] = 1;
  render[D3DRS_LASTPIXEL] = 1;
  render[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  render[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  render[D3DRS_CULLMODE] = D3DCULL_CCW;
  render[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  render[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
  render[D3DRS_FOGEND] = FloatToDword(one);
  render[D3DRS_FOGDENSITY] = FloatToDword(one);
  render[D3DRS_STENCILFAIL] = render[D3DRS_STENCILZFAIL] = render[D3DRS_STENCILPASS] = 1;
  render[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
  render[D3DRS_STENCILMASK] = render[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
  render[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
  render[D3DRS_CLIPPING] = 1;
  render[D3DRS_LIGHTING] = 1;
  render[D3DRS_COLORVERTEX] = 1;
  render[D3DRS_LOCALVIEWER] = 1;
  render[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
  render[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
  render[D3DRS_POINTSIZE] = FloatToDword(one);
  render[D3DRS_POINTSIZE_MIN] = FloatToDword(one);
  render[D3DRS_POINTSCALE_A] = FloatToDword(one);
  render[D3DRS_MULTISAMPLEANTIALIAS] = 1;
  render[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
  render[D3DRS_POINTSIZE_MAX] = FloatToDword(sixtyFour);
  render[D3DRS_COLORWRITEENABLE] = render[D3DRS_COLORWRITEENABLE1] = render[D3DRS_COLORWRITEENABLE2] =
      render[D3DRS_COLORWRITEENABLE3] = 15;
  render[D3DRS_BLENDOP] = render[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
  render[D3DRS_POSITIONDEGREE] = 3;
  render[D3DRS_NORMALDEGREE] = 1;
  render[D3DRS_MINTESSELLATIONLEVEL] = render[D3DRS_MAXTESSELLATIONLEVEL] = FloatToDword(one);
  render[D3DRS_ADAPTIVETESS_Z] = FloatToDword(one);
  render[D3DRS_CCW_STENCILFAIL] = render[D3DRS_CCW_STENCILZFAIL] = render[D3DRS_CCW_STENCILPASS] = 1;
  render[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
  render[D3DRS_BLENDFACTOR] = 0xFFFFFFFFu;
  render[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
  render[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
  for (DWORD s = 0; s < MAX_TEXTURE_STAGES; ++s) {
    sampler[s][D3DSAMP_ADDRESSU] = sampler[s][D3DSAMP_ADDRESSV] = sampler[s][D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
    sampler[s][D3DSAMP_MAGFILTER] = sampler[s][D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    sampler[s][D3DSAMP_MAXANISOTROPY] = 1;
    stage[s][D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    stage[s][D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    stage[s][D3DTSS_COLORARG1] = stage[s][D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    stage[s][D3DTSS_COLORARG2] = stage[s][D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    stage[s][D3DTSS_TEXCOORDINDEX] = s;
    stage[s][D3DTSS_COLORARG0] = stage[s][D3DTSS_ALPHAARG0] = stage[s][D3DTSS_RESULTARG] = D3DTA_CURRENT;
  }
}

}  // namespace detail
}  // namespace platform
