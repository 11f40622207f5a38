#pragma once
// Reading a rendered 800 x 600 picture at the places world points land:
// the projection of a point through a camera, the colour channels of a
// pixel, the best score of the pixels around a screen point, and how a
// level's terrain faces are lit in a picture.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/scene/Camera.h"
#include "platform/Files.h"
#include "platform/mesh/XFileParser.h"
#include "scenario/ScreenScenario.h"

namespace scenario {

// Where a world point lands on the 800 x 600 screen (z is the depth).
inline D3DXVECTOR3 Project(const Nembra::CCamera& camera, const D3DXVECTOR3& p) {
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &camera.GetView(), &camera.GetProjection());
  D3DXVECTOR3 ndc;
  D3DXVec3TransformCoord(&ndc, &p, &viewProjection);
  return D3DXVECTOR3((ndc.x + 1.0f) * 400.0f, (1.0f - ndc.y) * 300.0f, ndc.z);
}

inline int R(uint32_t c) { return (c >> 16) & 0xFF; }
inline int G(uint32_t c) { return (c >> 8) & 0xFF; }
inline int B(uint32_t c) { return c & 0xFF; }

// The highest score of the pixels within reach of a screen point.
template <class Score>
int BestNear(ScreenScenario& s, const D3DXVECTOR3& at, int reach, Score score) {
  int best = -1000;
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) best = std::max(best, score(s.PixelAt(int(at.x) + dx, int(at.y) + dy)));
  return best;
}

// The lighting check of the levels' pictures: every face of a level's
// terrain (floor, walls, pillar sides and lids, as the generator wrote them
// into `terrainFile`) that faces the camera is sampled at its middle and
// half way to each corner, where that lands between rows y0 and y1; a
// sample is dark when no pixel within one of it reaches FACE_FLOOR
// luminance (0.299 R + 0.587 G + 0.114 B). Whatever covers a face there is
// sampled in its place, so a black pillar in front of a wall counts too;
// the clear colour never shows in front of a face. Success needs more than
// MIN_FACE_SAMPLES samples and none dark.
constexpr int FACE_FLOOR = 24;
constexpr int MIN_FACE_SAMPLES = 20;
inline ::testing::AssertionResult EveryTerrainFaceLit(const std::vector<uint32_t>& pixels,
                                                      const Nembra::CCamera& camera, const std::string& terrainFile,
                                                      int y0, int y1) {
  struct {
    int samples = 0;
    int dark = 0;
  } light;
  std::vector<uint8_t> bytes;
  platform::xfile::XScene scene;
  std::string error;
  if (pixels.size() < 800u * 600u || !platform::ReadWholeFile(terrainFile, bytes) ||
      !platform::xfile::ParseXFile(bytes.data(), bytes.size(), scene, error))
    return ::testing::AssertionFailure() << "cannot read " << terrainFile << " " << error;
  D3DXMATRIX eyeToWorld;
  D3DXMatrixInverse(&eyeToWorld, nullptr, &camera.GetView());
  const D3DXVECTOR3 eye(eyeToWorld._41, eyeToWorld._42, eyeToWorld._43);
  const auto luminance = [&](int x, int y) {
    const uint32_t c = pixels[size_t(y) * 800 + size_t(x)];
    return (299 * R(c) + 587 * G(c) + 114 * B(c)) / 1000;
  };
  std::vector<platform::xfile::XMeshRecord> meshes = scene.Meshes;
  for (const platform::xfile::XFrameRecord& frame : scene.Frames)
    meshes.insert(meshes.end(), frame.Meshes.begin(), frame.Meshes.end());
  for (const platform::xfile::XMeshRecord& mesh : meshes) {
    size_t at = 0;
    for (uint32_t corners : mesh.FaceSizes) {
      std::vector<D3DXVECTOR3> p;
      for (uint32_t k = 0; k < corners; ++k) p.push_back(mesh.Positions[mesh.FaceIndices[at + k]]);
      at += corners;
      if (p.size() < 3) continue;
      D3DXVECTOR3 middle(0, 0, 0), normal, e1 = p[1] - p[0], e2 = p[2] - p[0], toEye;
      for (const D3DXVECTOR3& q : p) middle += q / float(p.size());
      D3DXVec3Cross(&normal, &e1, &e2);
      toEye = eye - middle;
      if (std::fabs(D3DXVec3Dot(&normal, &toEye)) < 1e-3f) continue;
      // Faces are wound either way by the writer: the one facing the eye is
      // the side its stored normal points to.
      const D3DXVECTOR3& stored = mesh.HasNormals ? mesh.Normals[mesh.NormalFaceIndices[at - corners]] : normal;
      if (D3DXVec3Dot(&stored, &toEye) <= 0.0f) continue;
      std::vector<D3DXVECTOR3> points = {middle};
      for (const D3DXVECTOR3& q : p) points.push_back((middle + q) * 0.5f);
      for (const D3DXVECTOR3& point : points) {
        const D3DXVECTOR3 s = Project(camera, point);
        const int x = int(s.x), y = int(s.y);
        if (s.z <= 0.0f || s.z >= 1.0f || x < 1 || x >= 799 || y < std::max(1, y0) || y >= std::min(599, y1)) continue;
        int best = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) best = std::max(best, luminance(x + dx, y + dy));
        ++light.samples;
        light.dark += best < FACE_FLOOR ? 1 : 0;
      }
    }
  }
  if (light.samples > MIN_FACE_SAMPLES && light.dark == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << light.dark << " of " << light.samples
                                       << " samples of the terrain's faces in view are darker than " << FACE_FLOOR;
}

}  // namespace scenario
