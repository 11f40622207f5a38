// The level's files turned into objects. Each file is parsed whole before
// anything is built, so a file that cannot be read leaves the level as it
// was: no objects, no registrations, no scene nodes.
#include "engine/app/Engine.h"
#include "game/collision/CollisionShapeFile.h"
#include "game/files/LevelFiles.h"
#include "game/level/Level.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace {

// What a level file that could not be loaded leaves out of play.
const char* const NO_ENEMIES = ": the level gets none of its enemy generators, so no enemies come";
const char* const NO_OBJECTS =
    ": the level gets none of its items, doors, circuits or other mechanisms, so a goal that needs them can't be met";

bool ReadLevelFile(const std::string& fileName, const char* what, const char* meaning, std::vector<uint8_t>& bytes) {
  if (platform::ReadWholeFile(Nembra::g_DataDirectory + fileName, bytes)) return true;
  platform::LogWarning(std::string(what) + " " + fileName + " cannot be read" + meaning);
  return false;
}

void ApplyPair(Nembra::CSceneNode& node, const LEVEL_PAIR& pair) {
  node.SetRotation(pair.orientation);
  node.SetPosition(pair.position);
}

}  // namespace

bool CLevel::LoadCollision(const std::string& fileName, int collisionClass) {
  return m_Collision.LoadCollision(fileName, collisionClass);
}

bool CLevel::LoadEnemyGenerators(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadLevelFile(fileName, "Enemy-generator file", NO_ENEMIES, bytes)) return false;
  ENEMY_GENERATOR_FILE file;
  size_t offset = 0;
  if (!ParseEnemyGeneratorFile(bytes.data(), bytes.size(), file, &offset)) {
    platform::LogWarning("Enemy-generator file " + fileName + " is damaged at byte " + std::to_string(offset) +
                         NO_ENEMIES);
    return false;
  }
  return LoadEnemyGenerators(file);
}

bool CLevel::LoadEnemyGenerators(const ENEMY_GENERATOR_FILE& file) {
  if (file.generators.empty()) return false;
  for (const ENEMY_GENERATOR_RECORD& record : file.generators) {
    CEnemyGenerator& generator = m_EnemyGenerators.emplace_back();
    const auto& o = record.options;
    generator.SetOption1(o[0].type, o[0].percent, o[0].randomFacing == 1);
    generator.SetOption2(o[1].type, o[1].percent, o[1].randomFacing == 1);
    generator.SetOption3(o[2].type, o[2].percent, o[2].randomFacing == 1);
    generator.SetPosition(record.position);
    generator.SetRotationZ(record.facing);
    generator.SetGroup(record.group);
    generator.SetEnabled(true);
  }
  return true;
}

bool CLevel::LoadItems(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadLevelFile(fileName, "Items file", NO_OBJECTS, bytes)) return false;
  ITEMS_FILE file;
  size_t offset = 0;
  if (!ParseItemsFile(bytes.data(), bytes.size(), file, &offset)) {
    platform::LogWarning("Items file " + fileName + " is damaged at byte " + std::to_string(offset) + NO_OBJECTS);
    return false;
  }
  return LoadItems(file);
}

void CLevel::ReadItem(CItem& item, const ITEM_RECORD& record) {
  item.SetKind(record.kind);
  if (ItemKindHasMeshFile(record.kind)) {
    item.LoadMesh(record.meshFile);
  } else if (ItemKindHasSubKind(record.kind) || record.kind == CItem::KIND_CHECKPOINT) {
    if (ItemKindHasSubKind(record.kind)) item.SetSubKind(record.subKind);
    if (m_pHost) item.SetMesh(m_pHost->GetItemMesh(record.kind, item.GetSubKind()));
  }
  item.SetScriptFile(record.scriptFile);
  ApplyPair(item, record.pair);
  item.SetMarkerPosition(record.pair.position);
  item.LoadSound();
}

CGenerator& CLevel::BuildGenerator(const GENERATOR_RECORD& record) {
  CGenerator& generator = m_Generators.emplace_back();
  generator.SetColour(static_cast<uint32_t>(record.polarity));
  generator.SetCapacity(static_cast<uint32_t>(record.capacity));
  generator.SetId(record.id);
  generator.SetScriptFile(record.scriptFile);
  ApplyPair(generator, record.pair);
  generator.BuildCollisionBoxes();
  m_Collision.AddCollisionShape(&generator.GetCollisionBox(0), COL_TIGHT);
  m_Collision.AddCollisionShape(&generator.GetCollisionBox(1), COL_CHARACTER);
  if (m_pHost) {
    generator.SetMesh(m_pHost->GetGeneratorMesh(generator.GetColour()));
    generator.SetBarMesh(m_pHost->GetGeneratorBarMesh(generator.GetColour()));
  }
  generator.LoadResources();
  generator.AddToScene();
  return generator;
}

CCircuitReceptor& CLevel::BuildReceptor(const RECEPTOR_RECORD& record) {
  CCircuitReceptor& receptor = m_Receptors.emplace_back();
  receptor.SetColour(static_cast<uint32_t>(record.colour));
  receptor.SetId(record.id);
  receptor.SetScriptFile(record.scriptFile);
  ApplyPair(receptor, record.pair);
  if (m_pHost) receptor.SetMesh(m_pHost->GetReceptorOffMesh(receptor.GetColour()));
  receptor.AddToScene();
  return receptor;
}

CDoor& CLevel::BuildDoor(const DOOR_RECORD& record) {
  CDoor& door = m_Doors.emplace_back();
  door.SetChargeNeeded(static_cast<uint32_t>(record.chargeNeeded));
  door.SetScriptFile(record.scriptFile);
  if (!door.LoadFromFile(record.descriptionFile))
    platform::LogWarning("door description " + record.descriptionFile +
                         " cannot be read or is damaged: the door has no mesh and no size, so it shows nothing and "
                         "blocks no way");
  ApplyPair(door, record.pair);
  door.BuildCollisionBoxes();
  m_Collision.AddCollisionShape(&door.GetCollisionBox(0), COL_TIGHT);
  m_Collision.AddCollisionShape(&door.GetCollisionBox(1), COL_CHARACTER);
  door.LoadSound();
  door.AddToScene();
  return door;
}

COpenCloseDoor& CLevel::BuildOpenCloseDoor(const OPEN_CLOSE_DOOR_RECORD& record) {
  COpenCloseDoor& door = m_OpenCloseDoors.emplace_back();
  door.SetName(record.name);
  door.SetScripts(record.openScript, record.closeScript);
  door.Load(record.descriptionFile);
  door.SetEnabled(record.enabled == 1);
  ApplyPair(door, record.pair);
  door.BuildCollisionBoxes();
  m_Collision.AddCollisionShape(&door.GetCollisionBox(0), COL_TIGHT);
  m_Collision.AddCollisionShape(&door.GetCollisionBox(1), COL_CHARACTER);
  door.GetSprite().SetAnimation("Closed", false);
  door.AddToScene();
  return door;
}

CCircuitObject* CLevel::ResolveReference(const NODE_REFERENCE& reference) {
  if (const auto* fresh = std::get_if<NEW_CONNECTOR_REFERENCE>(&reference.target)) {
    CCircuitConnector& connector = m_Connectors.emplace_back();
    connector.SetId(fresh->id);
    connector.SetPosition(fresh->position);
    if (m_pHost) connector.SetMesh(m_pHost->GetConnectorOffMesh());
    connector.LoadResources();
    connector.AddToScene();
    return &connector;
  }
  if (const auto* byId = std::get_if<CONNECTOR_ID_REFERENCE>(&reference.target)) {
    for (CCircuitConnector& connector : m_Connectors)
      if (connector.GetId() == byId->id) return &connector;
    return nullptr;
  }
  if (const auto* byId = std::get_if<CIRCUIT_ID_REFERENCE>(&reference.target)) {
    for (CCircuitReceptor& receptor : m_Receptors)
      if (receptor.GetId() == byId->id) return &receptor;
    for (CCircuitGenerator& generator : m_CircuitGenerators)
      if (generator.GetGenerator() && generator.GetGenerator()->GetId() == byId->id) return &generator;
    return nullptr;
  }
  if (const auto* fresh = std::get_if<NEW_GENERATOR_REFERENCE>(&reference.target)) {
    CGenerator& generator = BuildGenerator(fresh->generator);
    CCircuitGenerator& circuit = m_CircuitGenerators.emplace_back();
    circuit.SetGenerator(&generator);
    circuit.SetPosition(generator.GetPosition());
    circuit.SetColour(generator.GetColour());
    return &circuit;
  }
  if (const auto* fresh = std::get_if<NEW_RECEPTOR_REFERENCE>(&reference.target))
    return &BuildReceptor(fresh->receptor);
  return nullptr;
}

void CLevel::BuildWireGrateShapes(CWireGrate& grate) {
  // A grate whose description names no shape files keeps empty opened shapes.
  const std::string* files[2] = {&grate.GetOpenedShapesFileA(), &grate.GetOpenedShapesFileB()};
  for (int f = 0; f < 2; ++f)
    if (!files[f]->empty())
      LoadWireGrateShapes(*files[f], grate.GetPosition(), grate.GetRotation().z, grate.GetOpenedShape(f * 2),
                          grate.GetOpenedShape(f * 2 + 1));
}

bool CLevel::LoadItems(const ITEMS_FILE& file) {
  for (const ITEM_RECORD& record : file.items) {
    CItem& item = m_Items.emplace_back();
    ReadItem(item, record);
    item.AddToScene();
  }

  for (const BOX_RECORD& record : file.boxes) {
    CBox& box = m_Boxes.emplace_back();
    box.SetRequiredPower(static_cast<uint32_t>(record.requiredPower));
    box.SetHoldsItem(record.HoldsItem());
    if (record.HoldsItem()) ReadItem(box.GetItem(), record.item);
    box.SetScriptFile(record.scriptFile);
    ApplyPair(box, record.pair);
    box.BuildCollisionBoxes();
    m_Collision.AddCollisionShape(&box.GetCollisionBox(0), COL_TIGHT);
    m_Collision.AddCollisionShape(&box.GetCollisionBox(1), COL_CHARACTER);
    if (m_pHost) box.SetMesh(m_pHost->GetBoxMesh(record.requiredPower));
    box.LoadSound();
    box.AddToScene();
  }

  for (const CIRCUIT_OBJECT_RECORD& record : file.circuitObjects) {
    if (record.IsReceptor())
      BuildReceptor(record.receptor);
    else
      BuildGenerator(record.generator);
  }

  for (const DOOR_RECORD& record : file.doors) BuildDoor(record);
  for (const OPEN_CLOSE_DOOR_RECORD& record : file.openCloseDoors) BuildOpenCloseDoor(record);

  for (const ROOF_RECORD& record : file.roofs) {
    CRoof& roof = m_Roofs.emplace_back();
    roof.LoadMesh(record.meshFile);
    for (const ROOF_DOOR_ENTRY& entry : record.doors) {
      if (entry.kind == 0)
        BuildDoor(entry.door).SetRoof(&roof);
      else if (entry.kind == 1)
        BuildOpenCloseDoor(entry.openClose).SetRoof(&roof);
    }
    roof.SetRotation(record.pair.orientation);
    roof.SetPosition(0.0f, 0.0f, 0.0f);
    roof.AddToScene();
  }

  for (const LINK_RECORD& record : file.links) {
    CCircuitObject* first = ResolveReference(record.first);
    CCircuitObject* second = ResolveReference(record.second);
    if (!first || !second) {
      platform::LogWarning("Circuit link to an unknown object skipped");
      continue;
    }
    CCircuitLink& link = m_Links.emplace_back(first, second);
    first->AddLink(second, &link);
    second->AddLink(first, &link);
    for (CCircuitObject* end : {first, second}) {
      if (auto* generator = dynamic_cast<CCircuitGenerator*>(end)) {
        generator->CreateFlowTexture();
        break;
      }
    }
  }

  for (const WIRE_GRATE_RECORD& record : file.wireGrates) {
    CWireGrate& grate = m_WireGrates.emplace_back();
    if (!grate.LoadFromFile(record.descriptionFile)) {
      // What the grate does now: a closed grate without width lets everything by.
      std::string meaning = grate.IsBreakable() ? "" : "; the grate cannot be broken";
      if (grate.GetClosedBoxWidth() <= 0.0f)
        meaning += (meaning.empty() ? "; " : ", and ") + std::string("with no width from its description or its mesh ") +
                   grate.GetClosedMesh() + " it blocks nothing";
      else if (!grate.IsBreakable())
        meaning += ", so its way stays shut";
      platform::LogWarning("wire grate description " + record.descriptionFile +
                           " cannot be read or ends early: the fields not read keep their defaults" + meaning);
    }
    grate.SetScriptFile(record.scriptFile);
    ApplyPair(grate, record.pair);
    grate.BuildCollisionBoxes();
    m_Collision.AddCollisionShape(&grate.GetCollisionBox(0), COL_TIGHT);
    m_Collision.AddCollisionShape(&grate.GetCollisionBox(1), COL_CHARACTER);
    BuildWireGrateShapes(grate);
    grate.AddToScene();
  }

  for (const BARREL_RECORD& record : file.barrels) {
    CBarrel& barrel = m_Barrels.emplace_back();
    ApplyPair(barrel, record.pair);
    barrel.UpdateWorldMatrix();
    barrel.BuildCollisionBoxes();
    m_Collision.AddCollisionShape(&barrel.GetCollisionBox(0), COL_TIGHT);
    m_Collision.AddCollisionShape(&barrel.GetCollisionBox(1), COL_CHARACTER);
    if (m_pHost) barrel.SetMesh(m_pHost->GetBarrelMesh());
    barrel.LoadSound();
    barrel.AddToScene();
  }

  for (const TARGET_RECORD& record : file.targets) {
    CTarget& target = m_Targets.emplace_back();
    target.SetName(record.name);
    target.SetColour(record.colour);
    target.SetHitLimit(record.hitLimit);
    target.SetScriptFile(record.scriptFile);
    ApplyPair(target, record.pair);
    target.BuildCollisionBoxes();  // registered by the target while it stands
    if (m_pHost) target.SetMesh(m_pHost->GetTargetMesh(static_cast<uint32_t>(target.GetColour())));
    target.LoadResources();
    target.AddToScene();
  }

  for (const PUSHABLE_RECORD& record : file.pushables) {
    CPushable& block = m_Pushables.emplace_back();
    block.LoadMesh(record.meshFile);
    block.SetSize(record.length, record.width, record.startOffset);
    block.SetNames(record.firstName, record.secondName);
    block.SetTrack(record.startPoint, record.endPoint);
    if (!block.LoadFrames(record.partsFile) && !record.partsFile.empty())
      platform::LogWarning("pushable block parts file " + record.partsFile +
                           " cannot be read or is damaged: the block has no moving parts to show");
    block.UpdateTransform();
    m_Collision.AddCollisionShape(&block.GetCollisionShape(0), COL_TIGHT);
    m_Collision.AddCollisionShape(&block.GetCollisionShape(1), COL_CHARACTER);
    block.AddToScene();
  }

  for (const LASER_RECORD& record : file.lasers) {
    CLaser& laser = GetLaser(record.name);
    CLaser::SETTINGS settings;
    settings.initiallyOn = record.initiallyOn == 1;
    settings.type = record.type;
    settings.scriptFile = record.scriptFile;
    settings.emitterVariant = record.emitterVariant == 1;
    settings.initiallyStopped = record.initiallyStopped == 1;
    settings.range = record.range;
    settings.initialOffset = record.initialOffset;
    settings.speed = record.speed;
    settings.initiallyIntermittent = record.initiallyIntermittent == 1;
    settings.durationsFile = record.durationsFile;
    settings.farEnd = record.farEnd;
    laser.SetSettings(settings);
    laser.SetPosition(record.pair.position);
    laser.AddToScene();
    laser.Build();
  }

  for (const WAVE_WEAPON_RECORD& record : file.waveWeapons) {
    CWaveWeapon& station = m_WaveWeapons.emplace_back();
    station.SetColour(record.colour);
    station.SetCapacity(static_cast<uint32_t>(record.capacity));
    station.SetName(record.name);
    station.SetScriptFile(record.scriptFile);
    ApplyPair(station, record.pair);
    station.BuildCollisionBoxes();  // built, not registered
    if (m_pHost) station.SetMesh(m_pHost->GetWaveWeaponMesh(static_cast<uint32_t>(record.colour)));
    station.LoadResources();
    station.AddToScene();
  }
  return true;
}
