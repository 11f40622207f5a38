#pragma once
// game/mechanisms/circuits/: the circuit puzzle and what feeds it: connectors,
// circuit generators, receptors and their markers, the generators and the
// wave-weapon stations with their charge bars and colour lights. It may call
// mechanisms/ and what mechanisms/ may call.
//
// The circuit puzzle: connectors the player plugs in, circuit generators
// that start a flow of their colour, receptors that light when the flow of
// their colour reaches them, and the beams linking them.
#include <cstdint>
#include <list>
#include <string>

#include "engine/effects/Beam.h"
#include "engine/resources/Texture.h"
#include "game/actors/Entity.h"
#include "game/mechanisms/SoundCue.h"
#include "game/mechanisms/LevelObject.h"
#include "game/mechanisms/circuits/Marker.h"

namespace Nembra {
class CPointLight;
class CSound;
}  // namespace Nembra
class CCircuitObject;
class CGenerator;

// The beam between two circuit objects; both ends name it in their lists.
class CCircuitLink : public Nembra::CBeam {
 public:
  static constexpr float WIDTH = 14.0f;
  static constexpr uint32_t NO_COLOUR = 0xFFFFFFFFu;  // never carried flow

  // The link is built at once from its two ends' positions.
  CCircuitLink(CCircuitObject* first, CCircuitObject* second);
  ~CCircuitLink() override;

  // In the scene from the first end to the second, not flowing, hidden.
  // A second call changes nothing.
  void Build();
  // Carries the colour: flowing, shown, the flow texture of the colour.
  void SetFlow(uint32_t colour);
  // Stops flowing and hides; the colour it carried stays.
  void Stop();
  // Stops, hides and forgets its colour, as never having carried flow.
  void Clear();

  bool IsFlowing() const { return m_Flowing != 0; }
  void SetFlowing(bool flowing) { m_Flowing = flowing ? 1 : 0; }
  bool IsBuilt() const { return m_Built; }
  uint32_t GetColour() const { return m_Colour; }
  CCircuitObject* GetFirst() const { return m_pFirst; }
  CCircuitObject* GetSecond() const { return m_pSecond; }

 protected:
  void TakeTexture(const std::string& name);

  uint8_t m_Flowing = 0;
  uint32_t m_Colour = NO_COLOUR;
  CCircuitObject* m_pFirst = nullptr;
  CCircuitObject* m_pSecond = nullptr;
  bool m_Built = false;
  Nembra::CFactoryRef<Nembra::CTextureFactory> m_Texture{Nembra::g_pTextureFactory};  // the flow texture
};

// One entry of a circuit object's links: the object at the other end and
// the beam between them.
struct CIRCUIT_LINK_ENTRY {
  CCircuitObject* other = nullptr;
  CCircuitLink* link = nullptr;
};

class CCircuitObject : public CStaticSpriteEntity {
 public:
  ~CCircuitObject() override = default;

  // The object's own reset at a level restart.
  virtual void Reset() = 0;
  virtual void SetFlowing(bool /*flowing*/) {}

  // Marks the object visited, resets it, clears every link and goes on
  // into every unvisited neighbour.
  void ClearFlow();
  // Clears the visited mark here and on every linked object that has it.
  void ClearVisited();
  void LoadResources();
  // Whether the target is reached over links whose objects are placed.
  bool IsConnectedTo(CCircuitObject* target);
  void PlayIncorrectSound();

  void AddLink(CCircuitObject* other, CCircuitLink* link) { m_Links.push_back({other, link}); }
  const std::list<CIRCUIT_LINK_ENTRY>& GetLinks() const { return m_Links; }
  int32_t GetId() const { return m_Id; }
  void SetId(int32_t id) { m_Id = id; }
  uint32_t GetColour() const { return m_Colour; }
  void SetColour(uint32_t colour) { m_Colour = colour; }
  bool IsPlaced() const { return m_Placed != 0; }
  bool IsLocked() const { return m_Locked != 0; }
  bool IsVisited() const { return m_Visited != 0; }
  void SetVisited(bool visited) { m_Visited = visited ? 1 : 0; }
  void SetLocked(bool locked) { m_Locked = locked ? 1 : 0; }

 protected:
  // Takes the named mesh from the simple-mesh factory for the sprite.
  void ShowMesh(const std::string& meshName);
  CHeldMesh m_Mesh;

  uint8_t m_Locked = 0;
  int32_t m_Id = 0;
  uint32_t m_Colour = 0;
  uint8_t m_Placed = 0;
  std::list<CIRCUIT_LINK_ENTRY> m_Links;
  uint8_t m_Visited = 0;
  CSoundCue m_InsertRemoveSound;
  CSoundCue m_IncorrectSound;
};

class CCircuitConnector : public CCircuitObject {
 public:
  ~CCircuitConnector() override = default;

  static constexpr float MARKER_SIZE = 70.0f;
  static constexpr float MARKER_HEIGHT = 30.0f;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void Step() override;
  void Reset() override;
  void SetFlowing(bool flowing) override;

  void Insert();
  void Remove();

  CPlaneMarker& GetSocketMarker() { return m_SocketMarker; }

 protected:
  CPlaneMarker m_SocketMarker;
};

class CCircuitGenerator : public CCircuitConnector {
 public:
  // Starts the flow once the bound generator is full.
  void Step() override;
  void Reset() override;
  void SetFlowing(bool flowing) override;
  // Prepares the animated flow texture of the link beams.
  void CreateFlowTexture();

  CGenerator* GetGenerator() const { return m_pGenerator; }
  void SetGenerator(CGenerator* generator) { m_pGenerator = generator; }

 protected:
  CGenerator* m_pGenerator = nullptr;
};

class CCircuitReceptor : public CCircuitConnector {
 public:
  static constexpr float LAMP_HEIGHT = 150.0f;

  ~CCircuitReceptor() override = default;

  void AddToScene(Nembra::CSceneNode* parent = nullptr) override;
  void Reset() override;
  void SetFlowing(bool flowing) override;

  bool IsReceptorActive() const { return m_ReceptorActive != 0; }
  Nembra::CPointLight* GetLamp() const { return m_pLamp; }
  const std::string& GetScriptFile() const { return m_ScriptFile; }
  void SetScriptFile(const std::string& file) { m_ScriptFile = file; }

 protected:
  void SwitchOff();

  Nembra::CPointLight* m_pLamp = nullptr;
  uint8_t m_ReceptorActive = 0;
  std::string m_ScriptFile;
};
