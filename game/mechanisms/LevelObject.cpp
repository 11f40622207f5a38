#include "game/mechanisms/LevelObject.h"

#include "engine/effects/RenderEffects.h"
#include "engine/resources/Mesh.h"
#include "engine/scene/Sprite3D.h"
#include "game/level/Level.h"

void AddBoxesToLevel(COLLISION_BOXES& boxes) {
  CLevel* level = CLevel::Current();
  if (!level) return;
  level->AddCollisionShape(&boxes[0], COL_TIGHT);
  level->AddCollisionShape(&boxes[1], COL_CHARACTER);
}

void RemoveBoxesFromLevel(COLLISION_BOXES& boxes) {
  CLevel* level = CLevel::Current();
  if (!level) return;
  level->RemoveCollisionShape(&boxes[0], COL_TIGHT);
  level->RemoveCollisionShape(&boxes[1], COL_CHARACTER);
}

void StartFadeOut(Nembra::C3DSprite& sprite, Nembra::CVanishEffect& vanish) {
  vanish.Restart();
  sprite.SetRenderEffect(&vanish);
}

void EndFadeOut(Nembra::C3DSprite& sprite, Nembra::CVanishEffect& vanish, uint8_t& fading) {
  if (!fading || !vanish.IsFinished()) return;
  sprite.SetRenderEffect(nullptr);
  fading = 0;
  sprite.SetVisible(false);
}
