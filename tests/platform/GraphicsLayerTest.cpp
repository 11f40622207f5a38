#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/HeadlessDeviceTest.h"

using namespace platform;

namespace {

TEST(VertexFormatTest, LayoutsOfTheEngineFormats) {
  // Position, colour, one texture coordinate: beams, particles, 3D sprites.
  VertexLayout l = DescribeFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  EXPECT_EQ(l.stride, 24u);
  EXPECT_EQ(l.diffuse, 12);
  EXPECT_EQ(l.texCoord[0], 16);
  EXPECT_FALSE(l.screenSpace);
  // Screen-space text: x, y, z, rhw, u, v.
  l = DescribeFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
  EXPECT_EQ(l.stride, 24u);
  EXPECT_TRUE(l.screenSpace);
  EXPECT_EQ(l.texCoord[0], 16);
  // Meshes: position, normal, texture.
  l = DescribeFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
  EXPECT_EQ(l.stride, 32u);
  EXPECT_EQ(l.normal, 12);
  EXPECT_EQ(l.texCoord[0], 24);
  // Blend weights, specular, two sets, the second with three floats.
  l = DescribeFVF(D3DFVF_XYZB2 | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2 |
                  D3DFVF_TEXCOORDSIZE3(1));
  EXPECT_EQ(l.blendCount, 2);
  EXPECT_EQ(l.normal, 20);
  EXPECT_EQ(l.diffuse, 32);
  EXPECT_EQ(l.specular, 36);
  EXPECT_EQ(l.texCoord[1], 48);
  EXPECT_EQ(l.texFloats[1], 3);
  EXPECT_EQ(l.stride, 60u);
  EXPECT_EQ(GetFVFVertexSize(0), 0u);
  EXPECT_EQ(GetFVFVertexSize(D3DFVF_DIFFUSE), 0u);
}

TEST(VertexFormatTest, PrimitiveVertexCounts) {
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_TRIANGLELIST, 2), 6u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_TRIANGLESTRIP, 2), 4u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_TRIANGLEFAN, 3), 5u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_LINELIST, 3), 6u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_LINESTRIP, 3), 4u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_POINTLIST, 3), 3u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_TRIANGLELIST, 0), 0u);
  EXPECT_EQ(PrimitiveVertexCount(99, 1), 0u);
  // Counts whose vertices overflow 32 bits are refused, not wrapped to a few.
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_TRIANGLELIST, 0x55555556u), 0u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_TRIANGLESTRIP, 0xFFFFFFFFu), 0u);
  EXPECT_EQ(PrimitiveVertexCount(D3DPT_LINELIST, 0x80000001u), 0u);
}

class RecordingDeviceTest : public platformtest::HeadlessDeviceTest {};

TEST_F(RecordingDeviceTest, BufferDrawsAreCheckedAgainstTheBuffer) {
  IVertexBuffer* vb = nullptr;
  ASSERT_EQ(m_Device->CreateVertexBuffer(96, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0x142, D3DPOOL_DEFAULT, &vb),
            D3D_OK);
  void* data = nullptr;
  ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
  EXPECT_NE(vb->Lock(0, 0, &data, 0), D3D_OK);  // already locked
  std::memset(data, 0x11, 96);
  ASSERT_EQ(vb->Unlock(), D3D_OK);
  EXPECT_NE(vb->Lock(90, 8, &data, 0), D3D_OK);  // past the end
  m_Device->SetFVF(0x142);
  m_Device->SetStreamSource(0, vb, 0, 24);
  EXPECT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
  EXPECT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);  // needs 5 vertices
  EXPECT_EQ(m_Device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0xFFFFFFF0u), D3DERR_INVALIDCALL);
  ASSERT_EQ(m_Rec->Draws().size(), 1u);
  EXPECT_EQ(m_Rec->Draws()[0].vertices.size(), 96u);
  EXPECT_EQ(m_Rec->Draws()[0].fvf, 0x142u);

  IIndexBuffer* ib = nullptr;
  ASSERT_EQ(m_Device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib), D3D_OK);
  m_Device->SetIndices(ib);
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 1, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 2, 4, 0, 2), D3DERR_INVALIDCALL);
  // An index naming a vertex past the stream's end refuses the draw.
  uint16_t* indices = nullptr;
  ASSERT_EQ(ib->Lock(0, 0, reinterpret_cast<void**>(&indices), 0), D3D_OK);
  indices[5] = 4;
  ib->Unlock();
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3D_OK);  // the first triangle only
  const uint16_t upIndices[3] = {0, 1, 9};
  const float upVertices[4 * 6] = {};
  EXPECT_EQ(m_Device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 1, upIndices, D3DFMT_INDEX16, upVertices, 24),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Rec->Stats().draws, 3u);
  EXPECT_EQ(m_Rec->Stats().primitives, 5u);
  EXPECT_EQ(m_Rec->LiveBuffers(), 2u);
  // The device holds the bound buffers; releasing ours leaves them alive until unbound.
  vb->Release();
  ib->Release();
  EXPECT_EQ(m_Rec->LiveBuffers(), 2u);
  m_Device->SetStreamSource(0, nullptr, 0, 0);
  m_Device->SetIndices(nullptr);
  EXPECT_EQ(m_Rec->LiveBuffers(), 0u);
}

TEST_F(RecordingDeviceTest, LongRunsKeepABoundedRecordButCountEverything) {
  for (DWORD i = 0; i < 150000; ++i) m_Device->SetRenderState(D3DRS_AMBIENT, i);
  EXPECT_EQ(m_Rec->Stats().renderStateCalls, 150000u);
  EXPECT_EQ(m_Rec->RenderStateCalls().size(), 100000u);
  EXPECT_EQ(m_Rec->Log().size(), 100000u);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_AMBIENT), 149999u);

  // Big draws keep 64 KiB of vertices each, until 64 MiB are kept; then the
  // draws are still listed (up to 10000) without their vertices.
  std::vector<uint8_t> vertices(2049 * 32, 0x5A);
  m_Device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  for (int i = 0; i < 10100; ++i)
    ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 683, vertices.data(), 32), D3D_OK);
  EXPECT_EQ(m_Rec->Stats().draws, 10100u);
  ASSERT_EQ(m_Rec->Draws().size(), 10000u);
  EXPECT_EQ(m_Rec->Draws()[1023].vertices.size(), 65536u);
  EXPECT_TRUE(m_Rec->Draws()[1024].vertices.empty());
  m_Rec->ClearLog();
  ASSERT_EQ(m_Device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, vertices.data(), 32), D3D_OK);
  EXPECT_EQ(m_Rec->Draws()[0].vertices.size(), 96u);
}

TEST_F(RecordingDeviceTest, LossAndResetForgetStates) {
  m_Device->SetRenderState(D3DRS_LIGHTING, 0);
  D3DLIGHT9 light;
  light.Type = D3DLIGHT_POINT;
  m_Device->SetLight(2, &light);
  m_Device->LightEnable(2, 1);
  EXPECT_TRUE(m_Rec->LightEnabled(2));
  // At most eight lights at once.
  for (DWORD i = 10; i < 17; ++i) {
    EXPECT_EQ(m_Device->LightEnable(i, 1), D3D_OK);
  }
  EXPECT_EQ(m_Device->LightEnable(17, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->LightEnable(2, 1), D3D_OK);  // already on
  EXPECT_EQ(m_Device->LightEnable(3, 0), D3D_OK);  // off already: still eight on
  EXPECT_EQ(m_Device->LightEnable(17, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(m_Device->LightEnable(10, 0), D3D_OK);
  EXPECT_EQ(m_Device->LightEnable(17, 1), D3D_OK);
  m_Rec->LoseDevice();
  EXPECT_EQ(m_Device->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(m_Device->DrawPrimitiveUP(D3DPT_POINTLIST, 1, &light, 12), D3DERR_DEVICELOST);
  D3DPRESENT_PARAMETERS pp = m_Rec->PresentParameters();
  EXPECT_NE(m_Device->Reset(&pp), D3D_OK);  // not yet resettable
  m_Rec->MakeResettable();
  EXPECT_EQ(m_Device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  headless::Controls().failResets = 1;
  EXPECT_NE(m_Device->Reset(&pp), D3D_OK);
  EXPECT_EQ(m_Device->Reset(&pp), D3D_OK);
  EXPECT_EQ(m_Device->TestCooperativeLevel(), D3D_OK);
  EXPECT_EQ(m_Rec->RenderState(D3DRS_LIGHTING), 1u);
  EXPECT_FALSE(m_Rec->LightEnabled(2));
  for (DWORD i = 20; i < 28; ++i) EXPECT_EQ(m_Device->LightEnable(i, 1), D3D_OK) << "the reset switched all off";
  EXPECT_EQ(m_Rec->Stats().resets, 3u);
}

TEST_F(RecordingDeviceTest, TexturesOutliveTheirDeviceSafely) {
  ITexture* texture = nullptr;
  ASSERT_EQ(m_Device->CreateTexture(8, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
  EXPECT_EQ(texture->GetLevelCount(), 4u);
  D3DSURFACE_DESC desc;
  ASSERT_EQ(texture->GetLevelDesc(3, &desc), D3D_OK);
  EXPECT_EQ(desc.Width, 1u);
  EXPECT_EQ(desc.Height, 1u);
  EXPECT_NE(texture->GetLevelDesc(4, &desc), D3D_OK);
  RECT outside{0, 0, 9, 1};
  D3DLOCKED_RECT locked;
  EXPECT_NE(texture->LockRect(0, &locked, &outside, 0), D3D_OK);
  m_Device->SetTexture(0, texture);
  m_Device->Release();
  m_Device = nullptr;
  // The device is gone; the texture still works and releases cleanly.
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  EXPECT_EQ(locked.Pitch, 32);
  texture->UnlockRect(0);
  texture->Release();
}

TEST_F(RecordingDeviceTest, DisplayModesAndCreationFailures) {
  D3DDISPLAYMODE mode;
  ASSERT_EQ(m_System->GetAdapterDisplayMode(&mode), D3D_OK);
  EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(m_System->GetAdapterModeCount(D3DFMT_X8R8G8B8), 2u);
  ASSERT_EQ(m_System->EnumAdapterModes(D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
  EXPECT_EQ(mode.Width, 1024u);
  EXPECT_NE(m_System->EnumAdapterModes(D3DFMT_X8R8G8B8, 2, &mode), D3D_OK);
  headless::Controls().failDeviceCreation = true;
  IDevice* another = nullptr;
  D3DPRESENT_PARAMETERS pp;
  EXPECT_NE(m_System->CreateDevice(nullptr, 0, &pp, &another), D3D_OK);
  EXPECT_EQ(another, nullptr);
  headless::Controls().failSystemCreation = true;
  EXPECT_EQ(headless::CreateHeadlessGraphicsSystem(), nullptr);
}

}  // namespace
