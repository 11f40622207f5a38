# The tests that take longest, with their rough times in seconds in the
# sanitizer build. ctest starts the costliest tests first, so these begin
# early instead of ending a run alone. Only the order depends on these
# numbers; once a build folder has run its tests, ctest's own measurements
# take their place, and a name no longer defined is passed over.
set(karvessa_long_tests
  "ScriptBindingsSweep.HostileArgumentsInTheApplicationAtTheMenuInALevelAndAfterItsUnload" 380
  "ScriptBindingsSweep.HostileArgumentsWithALevelAfterUnloadAndWithoutAWorld" 370
  "DemoDataGenerator.TwoRunsWriteTheSameBytesAndARebuildKeepsThePlayersFiles" 170
  "PlayThrough.TheWholeDemoByInputAloneHeadless" 90
  "PlayThroughImages.TheWholeDemoByInputAloneOnSdl" 75
  "DemoLevelStarts.TwoHundredStartsOfLevel4KeepTheHeapFlat" 70
  "EnemyGenerator.TheRollSharesTheOptionsByPercent" 60
  "ProfileDamageTest.KilledWhileSavingEveryFileIsOldOrNewAndWhole" 45
  "Seeds/DemoLevel8Driver.TheRouteDriverFinishesTheLevelAlive/1" 40
  "Seeds/DemoLevel8Driver.TheRouteDriverFinishesTheLevelAlive/2" 40
  "Seeds/DemoLevel8Driver.TheRouteDriverFinishesTheLevelAlive/3" 40
  "DemoLevel8.RestartsAfterTheWaveBringBackTheFirstStart" 40
  "DemoLevel8Laps.EveryLapIsWalkedToItsEnd" 35
  "Level4Play.TheRouteDiesOnceInTheKillLaserThenFinishesWithEveryMechanismWorked" 30
  "Level4Images.TheRouteSeenByTheFollowCamera" 30
  "AppStart.CreditsAndLoadingTextFollowTheMenuLanguage" 30)
while(karvessa_long_tests)
  list(POP_FRONT karvessa_long_tests name cost)
  set_tests_properties("${name}" PROPERTIES COST ${cost})
endwhile()
