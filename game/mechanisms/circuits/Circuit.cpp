#include "game/mechanisms/circuits/Circuit.h"

#include "engine/resources/Texture.h"
#include "game/level/Level.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/circuits/ColourLight.h"
#include "game/mechanisms/circuits/Generator.h"
#include "game/script/GameScript.h"

namespace {

const char* FlowTexture(uint32_t colour) { return colour == 1 ? "FlowBlue.jpg" : "FlowRed.jpg"; }

}  // namespace

// ---------------------------------------------------------------- links

CCircuitLink::CCircuitLink(CCircuitObject* first, CCircuitObject* second) : m_pFirst(first), m_pSecond(second) {
  Build();
}

CCircuitLink::~CCircuitLink() {
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->RemoveNode(this);
  m_Texture.Reset();
}

void CCircuitLink::TakeTexture(const std::string& name) {
  if (m_Texture.Get() ? name == m_Texture.GetName() : name.empty()) return;
  m_Texture.Reset();
  if (name.empty() || !Nembra::g_pTextureFactory) return;
  if (Nembra::CTexture* texture = m_Texture.Take(name)) SetTexture(texture);
}

void CCircuitLink::Build() {
  if (m_Built || !m_pFirst || !m_pSecond) return;
  m_Built = true;
  if (Nembra::g_pSceneManager) Nembra::g_pSceneManager->AddNode(this);
  const D3DXVECTOR3 from = m_pFirst->GetPosition();
  const D3DXVECTOR3 span = from - m_pSecond->GetPosition();
  D3DXVECTOR3 direction(0.0f, 0.0f, 0.0f);
  const float length = D3DXVec3Length(&span);
  if (length > 0.0f) direction = span / length;
  SetPosition(from + D3DXVECTOR3(0.0f, 0.0f, 3.0f));
  Create("FlowBlue.jpg", length, WIDTH, direction, true);
  m_Flowing = 0;
  visible = false;
}

void CCircuitLink::SetFlow(uint32_t colour) {
  m_Colour = colour;
  m_Flowing = 1;
  visible = true;
  TakeTexture(FlowTexture(colour));
}

void CCircuitLink::Stop() {
  m_Flowing = 0;
  visible = false;
}

void CCircuitLink::Clear() {
  Stop();
  m_Colour = NO_COLOUR;
}

// ---------------------------------------------------------------- objects

void CCircuitObject::ShowMesh(const std::string& meshName) {
  if (m_Mesh.GetName() == meshName) return;
  Nembra::CSimpleMesh* mesh = m_Mesh.Take(meshName);
  SetMesh(mesh);
}

void CCircuitObject::ClearFlow() {
  m_Visited = 1;
  m_Locked = 0;
  Reset();
  for (CIRCUIT_LINK_ENTRY& entry : m_Links) {
    if (entry.link) entry.link->Clear();
    if (entry.other && !entry.other->IsVisited()) entry.other->ClearFlow();
  }
}

void CCircuitObject::ClearVisited() {
  m_Visited = 0;
  for (CIRCUIT_LINK_ENTRY& entry : m_Links)
    if (entry.other && entry.other->IsVisited()) entry.other->ClearVisited();
}

void CCircuitObject::LoadResources() {
  m_InsertRemoveSound.Take("ConnectorInsertRemove.wav");
  m_IncorrectSound.Take("ConnectorIncorrect.wav");
  if (auto* connector = dynamic_cast<CCircuitConnector*>(this)) {
    CPlaneMarker& marker = connector->GetSocketMarker();
    marker.Create(0.0f, 0.0f, CCircuitConnector::MARKER_HEIGHT, CCircuitConnector::MARKER_SIZE, "MarkerSmall.tga",
                  0);
    marker.Activate(true);
    marker.SetRotationY(D3DX_PI / 2.0f);
    marker.Show(false);
  }
}

bool CCircuitObject::IsConnectedTo(CCircuitObject* target) {
  if (this == target) return true;
  m_Visited = 1;
  for (CIRCUIT_LINK_ENTRY& entry : m_Links) {
    CCircuitObject* next = entry.other;
    if (!next || next->IsVisited()) continue;
    if (next == target || (next->IsPlaced() && next->IsConnectedTo(target))) {
      m_Visited = 0;
      return true;
    }
  }
  m_Visited = 0;
  return false;
}

void CCircuitObject::PlayIncorrectSound() { m_IncorrectSound.Play(); }

// ---------------------------------------------------------------- connectors

void CCircuitConnector::AddToScene(Nembra::CSceneNode* parent) {
  CCircuitObject::AddToScene(parent);
  m_SocketMarker.AddToScene(this);
}

void CCircuitConnector::Step() {
  CCircuitObject::Step();
  m_SocketMarker.Step();
}

void CCircuitConnector::Reset() {
  m_Placed = 0;
  ShowMesh("ConnectorOff.X");
  m_SocketMarker.Show(false);
}

void CCircuitConnector::SetFlowing(bool flowing) {
  // A connector in its socket keeps its colour whatever its neighbours do.
  if (m_Placed) return;
  m_SocketMarker.Show(flowing);
  if (flowing) {
    ShowMesh("ConnectorOn.X");
    return;
  }
  for (const CIRCUIT_LINK_ENTRY& entry : m_Links)
    if (entry.other && entry.other->IsPlaced()) return;
  ShowMesh("ConnectorOff.X");
}

void CCircuitConnector::Insert() {
  if (m_Locked || m_Placed) return;
  m_SocketMarker.Show(false);
  int red = 0;
  int blue = 0;
  for (const CIRCUIT_LINK_ENTRY& entry : m_Links) {
    if (!entry.link || !entry.link->IsFlowing()) continue;
    if (entry.link->GetColour() == 1)
      ++blue;
    else if (entry.link->GetColour() == 0)
      ++red;
  }
  if ((red > 0) == (blue > 0)) {  // no flow, or both colours
    PlayIncorrectSound();
    return;
  }
  m_InsertRemoveSound.Play();
  m_Placed = 1;
  m_Colour = blue > 0 ? 1 : 0;
  ShowMesh(m_Colour == 1 ? "ConnectorBlue.X" : "ConnectorRed.X");
  for (CIRCUIT_LINK_ENTRY& entry : m_Links) {
    if (!entry.link || entry.link->IsFlowing()) continue;
    entry.link->SetFlow(m_Colour);
    if (entry.other) entry.other->SetFlowing(true);
  }
}

void CCircuitConnector::Remove() {
  if (m_Locked) return;
  m_SocketMarker.Show(true);
  m_InsertRemoveSound.Play();
  m_Placed = 0;
  SetFlowing(true);
  for (CIRCUIT_LINK_ENTRY& entry : m_Links) {
    if (!entry.other || entry.other->IsPlaced()) continue;
    if (entry.link) entry.link->Stop();
    entry.other->SetFlowing(false);
  }
}

// ---------------------------------------------------------------- generators

void CCircuitGenerator::Step() {
  CCircuitObject::Step();
  if (m_Placed || !m_pGenerator || m_pGenerator->GetCharge() < m_pGenerator->GetCapacity()) return;
  m_Placed = 1;
  m_Colour = m_pGenerator->GetColour();
  for (CIRCUIT_LINK_ENTRY& entry : m_Links) {
    if (entry.link) entry.link->SetFlow(m_Colour);
    if (entry.other) entry.other->SetFlowing(true);
  }
}

// The bound generator is one of the level's generators and is reset with
// them, once; the circuit generator does not reset it again.
void CCircuitGenerator::Reset() { m_Placed = 0; }

// The generator's own look is its bound generator's: a flow reaching it
// changes nothing.
void CCircuitGenerator::SetFlowing(bool /*flowing*/) {}

void CCircuitGenerator::CreateFlowTexture() {
  for (CIRCUIT_LINK_ENTRY& entry : m_Links)
    if (entry.link) entry.link->Build();
}

// ---------------------------------------------------------------- receptors

namespace {
const char* ReceptorMesh(uint32_t colour, bool on) {
  if (colour == 1) return on ? "ReceptorOnBlue.X" : "ReceptorOffBlue.X";
  return on ? "ReceptorOnRed.X" : "ReceptorOffRed.X";
}
}  // namespace

void CCircuitReceptor::AddToScene(Nembra::CSceneNode* parent) { CCircuitObject::AddToScene(parent); }

void CCircuitReceptor::SwitchOff() {
  if (m_ReceptorActive && CLevel::Current()) CLevel::Current()->AddActiveReceptors(-1);
  m_ReceptorActive = 0;
  DeleteColourLight(m_pLamp);
  ShowMesh(ReceptorMesh(m_Colour, false));
}

void CCircuitReceptor::Reset() { SwitchOff(); }

void CCircuitReceptor::SetFlowing(bool flowing) {
  if (!flowing) {
    if (m_ReceptorActive) SwitchOff();
    return;
  }
  // Only the change from off to on lights the lamp and runs the script.
  if (m_ReceptorActive) return;
  for (const CIRCUIT_LINK_ENTRY& entry : m_Links)
    if (!entry.link || entry.link->GetColour() != m_Colour) return;
  m_ReceptorActive = 1;
  if (CLevel::Current()) CLevel::Current()->AddActiveReceptors(1);
  ShowMesh(ReceptorMesh(m_Colour, true));
  m_pLamp = MakeColourLight(GetWorldPosition() + D3DXVECTOR3(0.0f, 0.0f, LAMP_HEIGHT), m_Colour);
  if (!m_Links.empty() && m_Links.front().other) m_Links.front().other->SetLocked(true);
  if (!m_ScriptFile.empty()) g_GameScript.RunFile(m_ScriptFile);
}
