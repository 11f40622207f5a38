#include "engine/app/Engine.h"

#include <new>

#include "engine/app/GraphicsDevice.h"
#include "engine/app/InputMapper.h"
#include "engine/app/Keyboard.h"
#include "engine/app/Mouse.h"
#include "engine/fonts/Font.h"
#include "engine/particles/RandomTable.h"
#include "engine/resources/Material.h"
#include "engine/resources/Mesh.h"
#include "engine/resources/Shader.h"
#include "engine/resources/SkinnedMesh.h"
#include "engine/resources/Texture.h"
#include "engine/scene/GeometrySet.h"
#include "engine/scene/SceneManager.h"
#include "engine/sound/AudiereSound.h"
#include "engine/sound/SoundDevice.h"
#include "engine/sound/WaveSound.h"
#include "engine/util/MissingReports.h"

namespace Nembra {

const char* const DEFAULT_RESOURCE_NAME = "__DEFAULT__";
const char* const DEFAULT_TRANSPARENT_RESOURCE_NAME = "__DEFAULT_TRANSPARENT__";

const wchar_t* const LANGUAGE_ENGLISH = L"ENG";
const wchar_t* const LANGUAGE_SPANISH = L"SPA";
const wchar_t* const LANGUAGE_RUSSIAN = L"RUS";

LanguageIndex LanguageIndexOf(const std::wstring& code) {
  if (code == LANGUAGE_SPANISH) return LANGUAGE_INDEX_SPANISH;
  if (code == LANGUAGE_RUSSIAN) return LANGUAGE_INDEX_RUSSIAN;
  return LANGUAGE_INDEX_ENGLISH;
}

bool IsLanguageCode(const std::wstring& code) {
  return code == LANGUAGE_ENGLISH || code == LANGUAGE_SPANISH || code == LANGUAGE_RUSSIAN;
}

const char* LanguageSuffixOf(const std::wstring& code) {
  static const char* const suffixes[] = {"_EN", "_ES", "_RU"};
  return suffixes[LanguageIndexOf(code)];
}

// Kept in this one unit so they are made in this order.
std::string g_DataDirectory = ".\\Data\\";
std::string g_LanguageDirectory = g_DataDirectory;
std::string g_ScriptDirectory = g_DataDirectory + "Scripts\\";
std::string g_BitmapFontDirectory = g_DataDirectory;
std::string g_3DWaveSoundDirectory = g_DataDirectory + "3D wave sounds\\";
std::string g_StreamingSoundDirectory = g_DataDirectory + "Sounds\\";
std::string g_WaveSoundDirectory = g_DataDirectory + "Wave sounds\\";
std::string g_AudiereSoundDirectory = "Sounds\\";
std::string g_SkinnedMeshDirectory = g_DataDirectory + "Meshes\\";
std::string g_SimpleMeshDirectory = g_DataDirectory + "Meshes\\";
std::string g_TextureDirectory = g_DataDirectory + "Materials\\";
std::string g_MaterialDirectory = g_DataDirectory + "Materials\\";
std::string g_ShaderDirectory = g_DataDirectory + "Materials\\";

void SetDataDirectory(const std::string& data) {
  g_DataDirectory = data;
  g_LanguageDirectory = data;
  g_ScriptDirectory = data + "Scripts\\";
  g_BitmapFontDirectory = data;
  g_3DWaveSoundDirectory = data + "3D wave sounds\\";
  g_StreamingSoundDirectory = data + "Sounds\\";
  g_WaveSoundDirectory = data + "Wave sounds\\";
  g_SkinnedMeshDirectory = data + "Meshes\\";
  g_SimpleMeshDirectory = data + "Meshes\\";
  g_TextureDirectory = data + "Materials\\";
  g_MaterialDirectory = data + "Materials\\";
  g_ShaderDirectory = data + "Materials\\";
}

std::vector<std::string*> ResourceDirectories() {
  return {&g_LanguageDirectory,    &g_BitmapFontDirectory,  &g_3DWaveSoundDirectory, &g_StreamingSoundDirectory,
          &g_WaveSoundDirectory,   &g_AudiereSoundDirectory, &g_SkinnedMeshDirectory, &g_SimpleMeshDirectory,
          &g_TextureDirectory,     &g_MaterialDirectory,     &g_ShaderDirectory};
}

bool InitializeEngine() {
  ResetMissingReports();
  // Singletons in order of creation:
  //  1 graphics device, 2 texture, 3 material, 4 state-block, 5 simple-mesh and
  //  6 skinned-mesh factories, 7 geometry-set registry, 8 scene manager,
  //  9 keyboard, 10 mouse, 11 input mapper, 12 sound device, 13 wave-sound and
  //  14 3D wave-sound factories, 15 audiere device, 16 audiere-sound and
  //  17 streamed-sound factories; last the particle random table.
  // Made elsewhere: the system-font factory by the application's Init, the
  // bitmap-font factory by the game (which also deletes it).
  g_pGraphicsDevice = new (std::nothrow) CGraphicsDevice();
  g_pTextureFactory = new (std::nothrow) CTextureFactory();
  g_pMaterialFactory = new (std::nothrow) CMaterialFactory();
  g_pShaderFactory = new (std::nothrow) CShaderFactory();
  g_pSimpleMeshFactory = new (std::nothrow) CSimpleMeshFactory();
  g_pSkinnedMeshFactory = new (std::nothrow) CSkinnedMeshFactory();
  g_pGeometrySetRegistry = new (std::nothrow) CGeometrySetRegistry();
  g_pSceneManager = new (std::nothrow) CSceneManager();
  // The device forgets its lights in a reset; the scene sends them again.
  if (g_pGraphicsDevice)
    g_pGraphicsDevice->SetRestoreLightsCallback([] {
      if (g_pSceneManager) g_pSceneManager->RestoreLights();
    });
  g_pKeyboard = new (std::nothrow) CKeyboard();
  g_pMouse = new (std::nothrow) CMouse();
  g_pInputMapper = new (std::nothrow) CInputMapper();
  g_pSoundDevice = new (std::nothrow) CSoundDevice();
  g_pWaveSoundFactory = new (std::nothrow) CWaveSoundFactory();
  g_p3DWaveSoundFactory = new (std::nothrow) C3DWaveSoundFactory();
  g_AudiereDevice = new (std::nothrow) CAudiereDevice();
  g_pAudiereSoundFactory = new (std::nothrow) CAudiereSoundFactory();
  g_pStreamingSoundFactory = new (std::nothrow) CAudiereStreamingSoundFactory();
  return g_ParticleRandom.Init(PARTICLE_RANDOM_COUNT, -1.0f, 1.0f);
}

void ShutdownEngine() {
  // Deletion order: input objects; scene manager and geometry-set registry;
  // the graphics factories before the device; the font and streamed-sound
  // factories before what they use; the wave-sound factories before the sound
  // device; the audiere device last; then the skinned-mesh shared buffer.
  delete g_pInputMapper;
  g_pInputMapper = nullptr;
  delete g_pMouse;  // each device releases its device first
  g_pMouse = nullptr;
  delete g_pKeyboard;
  g_pKeyboard = nullptr;
  delete g_pSceneManager;
  g_pSceneManager = nullptr;
  delete g_pGeometrySetRegistry;
  g_pGeometrySetRegistry = nullptr;
  delete g_pSimpleMeshFactory;
  g_pSimpleMeshFactory = nullptr;
  delete g_pSkinnedMeshFactory;
  g_pSkinnedMeshFactory = nullptr;
  // System fonts (made by the application's Init) give their font objects
  // back while the device still exists.
  delete g_pFontFactory;
  g_pFontFactory = nullptr;
  delete g_pShaderFactory;
  g_pShaderFactory = nullptr;
  delete g_pMaterialFactory;
  g_pMaterialFactory = nullptr;
  delete g_pTextureFactory;
  g_pTextureFactory = nullptr;
  delete g_pGraphicsDevice;
  g_pGraphicsDevice = nullptr;
  delete g_pWaveSoundFactory;
  g_pWaveSoundFactory = nullptr;
  delete g_p3DWaveSoundFactory;
  g_p3DWaveSoundFactory = nullptr;
  delete g_pSoundDevice;
  g_pSoundDevice = nullptr;
  // The audiere factories go before the device their streams play on.
  delete g_pStreamingSoundFactory;
  g_pStreamingSoundFactory = nullptr;
  delete g_pAudiereSoundFactory;
  g_pAudiereSoundFactory = nullptr;
  delete g_AudiereDevice;
  g_AudiereDevice = nullptr;
  FreeSkinningScratch();
}

}  // namespace Nembra
