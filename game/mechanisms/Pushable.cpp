#include "game/mechanisms/Pushable.h"

CPushable::~CPushable() { SetMesh(nullptr); }

bool CPushable::LoadFrames(const std::string& /*fileName*/) { return false; }

void CPushable::UpdateTransform() {}

void CPushable::PushForward() {}

void CPushable::PushBackward() {}

bool CPushable::LoadMesh(const std::string& name) {
  SetMesh(nullptr);
  Nembra::CSimpleMesh* mesh = m_Mesh.Take(name);
  return mesh != nullptr && SetMesh(mesh);
}
