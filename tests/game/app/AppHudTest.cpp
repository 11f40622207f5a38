// The application's HUD in the in-level states: the widgets drawn in a
// playing frame, reached by the level through the world, the death title,
// the mission-complete notice, and a new game on the generated tutorial.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/resources/Texture.h"
#include "engine/util/TextTable.h"
#include "frontend/hud/GUIMissionComplete.h"
#include "frontend/hud/GUIPauseTitle.h"
#include "frontend/hud/widgets/GUIGauges.h"
#include "frontend/hud/widgets/GUIKeyItems.h"
#include "frontend/hud/widgets/GUIWeaponPanel.h"
#include "game/app/AppTestSupport.h"
#include "game/enemies/EnemyKinds.h"
#include "game/enemies/EnemyScenarioSupport.h"
#include "game/world/GameGlobals.h"

using scenario::AppScenario;
using scenario::DecodedFrame;
using scenario::SpriteRecord;

namespace {

platform::ITexture* DeviceTexture(const Nembra::CStatic2DSprite& sprite) {
  return sprite.GetTexture() ? sprite.GetTexture()->GetTexture() : nullptr;
}

std::vector<const SpriteRecord*> Drawn(const DecodedFrame& frame, const Nembra::CStatic2DSprite& sprite) {
  return frame.FindSprites(DeviceTexture(sprite), sprite.m_SourceRect.left, sprite.m_SourceRect.top);
}

template <class Kind>
Kind& PlaceEnemy(const D3DXVECTOR3& offset, uint32_t colour) {
  Kind* enemy = new Kind(colour);
  enemy->SetPosition(g_pGameWorld->GetPlayer().GetPosition() + offset);
  g_pGameWorld->GetLevel().GetEnemies().push_back(enemy);
  enemy->AddToScene(nullptr);
  return *enemy;
}

}  // namespace

TEST(AppHud, AnEnemysHealthBarIsDrawnOnlyOnceAShotHasHitIt) {
  AppScenario a(apptest::QuietLevel());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToPlaying(a));
  enemytest::TuningGuard guard;
  g_Enemy1RangeSq = 0.0f;  // the walkers stand
  g_Enemy2RangeSq = 0.0f;  // the cocoon stays closed
  CEnemy1& untouched = PlaceEnemy<CEnemy1>({400, 0, 0}, 0);
  CEnemy1& hit = PlaceEnemy<CEnemy1>({400, 300, 0}, 0);
  CEnemy2& cocoon = PlaceEnemy<CEnemy2>({400, -300, 0}, 0);
  a.Run(2);
  const Nembra::CStatic2DSprite& frame = untouched.GetHealthFrame();
  const Nembra::CStatic2DSprite& fill = untouched.GetHealthFill();
  EXPECT_TRUE(Drawn(a.Last(), frame).empty());
  EXPECT_TRUE(Drawn(a.Last(), fill).empty());

  CBullet red, blue;
  enemytest::Shot(red, 0);
  enemytest::Shot(blue, 1);
  g_pGameWorld->GetPlayer().GetWeapon().SetPower(1);
  hit.OnShotHit(red);  // its own colour: the bar, no damage
  cocoon.OnShotHit(blue);  // closed: ignored
  ASSERT_EQ(cocoon.GetState(), 0u);
  a.Frame();
  ASSERT_EQ(Drawn(a.Last(), frame).size(), 1u);
  ASSERT_EQ(Drawn(a.Last(), fill).size(), 1u);
  EXPECT_NEAR(Drawn(a.Last(), fill)[0]->Width(), 37.0f, 0.5f);
  hit.OnShotHit(blue);
  a.Frame();
  ASSERT_EQ(Drawn(a.Last(), fill).size(), 1u);
  EXPECT_NEAR(Drawn(a.Last(), fill)[0]->Width(), 37.0f * 2.0f / 3.0f, 0.5f);
  EXPECT_EQ(Drawn(a.Last(), frame).size(), 1u);
}

TEST(AppHud, APlayingFrameDrawsTheGaugesAndWeaponPanelAndTheLevelReachesTheWidgets) {
  AppScenario a(apptest::QuietLevel());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(3);
  CApp& app = a.App();
  ASSERT_NE(app.GetHealthGauge(), nullptr);
  ASSERT_NE(app.GetWeaponPanel(), nullptr);
  const DecodedFrame& f = a.Last();
  const auto health = Drawn(f, app.GetHealthGauge()->Bar());
  const auto blue = Drawn(f, app.GetWeaponPanel()->BlueBar());
  const auto red = Drawn(f, app.GetWeaponPanel()->RedBar());
  ASSERT_EQ(health.size(), 1u);
  ASSERT_EQ(blue.size(), 1u);
  ASSERT_EQ(red.size(), 1u);
  // The images of the first batch come before the numbers of the second.
  ASSERT_FALSE(f.texts.empty());
  size_t lastSprite = std::max(health[0]->order, blue[0]->order);
  const std::wstring healthText = std::to_wstring(g_pGameWorld->GetPlayer().GetHealth());
  const auto healthNumbers = f.FindText(healthText);
  ASSERT_FALSE(healthNumbers.empty()) << "no health number drawn";
  EXPECT_GT(healthNumbers[0]->order, lastSprite);

  // The level's HUD calls land on the application's widgets.
  ASSERT_NE(g_pGameWorld->GetHud(), nullptr);
  EXPECT_FALSE(app.GetKeyItems()->IsOn(CGUIKeyItems::ACCESS_CARD));
  g_pGameWorld->GetHud()->SetAccessCard(true);
  EXPECT_TRUE(app.GetKeyItems()->IsOn(CGUIKeyItems::ACCESS_CARD));
  EXPECT_EQ(app.GetKeyItems()->GetShownCount(), 1u);
}

TEST(AppHud, TheDeathScreenDrawsTheDeathTitleOverTheScene) {
  AppScenario a(apptest::QuietLevel());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(2);
  const CGUIPauseTitle* title = a.App().GetDeathTitle();
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(Drawn(a.Last(), title->Title()).empty());
  g_pGameWorld->GetPlayer().Deactivate();
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_DEATH);
  a.Frame();
  // The title and its flash, both from the title's word.
  const auto drawn = Drawn(a.Last(), title->Title());
  ASSERT_EQ(drawn.size(), 2u);
  // Centred on the screen.
  EXPECT_NEAR((drawn[0]->left + drawn[0]->right) / 2.0f, 400.0f, 40.0f);
  // The hint is drawn after the title.
  const auto hint = a.Last().FindTextContaining(L"ESC");
  ASSERT_FALSE(hint.empty());
  EXPECT_GT(hint[0]->order, drawn[0]->order);
}

TEST(AppHud, LevelOverDrawsTheNoticeAndTheContinueTextOnlyOnceItHasAppeared) {
  AppScenario a(apptest::QuietLevel());
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToPlaying(a));
  a.Run(2);
  CGUIMissionComplete* notice = a.App().GetMissionComplete();
  ASSERT_NE(notice, nullptr);
  g_pGameWorld->GetLevel().SetFinished(true);
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_LEVEL_OVER);
  EXPECT_FALSE(notice->done);
  EXPECT_FLOAT_EQ(notice->GetFadeInTimer(), CGUIMissionComplete::FADE_IN_TIME);
  const std::wstring cont = Nembra::GetText("TXT_KEY_TO_CONTINUE");
  // 0.4 s of fade in 0.1 s frames: done in the fourth level-over frame, or
  // the fifth when the sum of the steps falls short of 0.4.
  int framesUntilDone = 0;
  while (!notice->done && framesUntilDone < 10) {
    a.Frame();
    ++framesUntilDone;
    EXPECT_FALSE(Drawn(a.Last(), notice->Title()).empty()) << "frame " << framesUntilDone;
    if (!notice->done) {
      EXPECT_TRUE(a.Last().FindText(cont).empty());
    }
  }
  EXPECT_GE(framesUntilDone, 4);
  EXPECT_LE(framesUntilDone, 5);
  // Until the delay of one second is over, still no continue text.
  EXPECT_TRUE(a.Last().FindText(cont).empty());
  a.Run(7);
  EXPECT_TRUE(notice->done);
  EXPECT_FALSE(Drawn(a.Last(), notice->Title()).empty());
  EXPECT_EQ(a.Last().FindText(cont).size(), 1u);
}

TEST(AppHud, ANewGameFromTheMenuPlaysTheTutorialWithThePlayerOnItsFloor) {
  AppScenario a;
  ASSERT_TRUE(a.Ready()) << a.Problem();
  ASSERT_TRUE(apptest::ToLogin(a));
  a.ClearStateLog();
  apptest::ChooseProfile(a, 0);
  ASSERT_EQ(a.App().GetState(), CApp::STATE_COMIC);
  g_pComicViewer->finished = 1;
  a.Frame();
  ASSERT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
  CLevel& level = g_pGameWorld->GetLevel();
  EXPECT_EQ(level.GetInitScript(), "LevelTutorial_Init.lua");
  // The init script loaded the floor into the scene.
  EXPECT_EQ(level.GetTerrainMeshName(), "LevelTutorial_Terrain.X");
  a.Run(10);
  EXPECT_EQ(a.App().GetState(), CApp::STATE_PLAYING);
  EXPECT_EQ(a.App().GetExitCode(), 0);
  CPlayer& player = g_pGameWorld->GetPlayer();
  EXPECT_TRUE(player.IsActive());
  EXPECT_NE(player.GetSprite(), nullptr);
  // Standing, not falling through: the floor holds the player.
  const float z = player.GetPosition().z;
  a.Run(10);
  EXPECT_NEAR(player.GetPosition().z, z, 1.0f);
  EXPECT_GT(a.Device()->Stats().draws, 0u);
}
