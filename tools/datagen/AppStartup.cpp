// What the application itself loads at start-up and in its states: the
// radiation overlay, the title music, the texts of the death screen and the
// level over.
#include <string>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"
#include "tools/datagen/WordPainter.h"
#include "tools/formats/GraphicsFiles.h"

namespace {

std::vector<datagen::GameText> AppTexts() {
  return {
      {"TXT_EXIT", L"ESC: back to the main menu", L"ESC: volver al men\u00FA principal",
       L"ESC: \u0432\u044B\u0445\u043E\u0434 \u0432 \u0433\u043B\u0430\u0432\u043D\u043E\u0435 \u043C\u0435\u043D\u044E"},
      {"TXT_RESTART", L"SPACE or F1: try again", L"ESPACIO o F1: intentarlo de nuevo",
       L"\u041F\u0420\u041E\u0411\u0415\u041B \u0438\u043B\u0438 F1: \u0435\u0449\u0451 \u0440\u0430\u0437"},
      {"TXT_KEY_TO_CONTINUE", L"Press SPACE to continue", L"Pulsa ESPACIO para continuar",
       L"\u041D\u0430\u0436\u043C\u0438\u0442\u0435 \u041F\u0420\u041E\u0411\u0415\u041B, \u0447\u0442\u043E\u0431\u044B "
       L"\u043F\u0440\u043E\u0434\u043E\u043B\u0436\u0438\u0442\u044C"},
      // A save that failed, on the level over and the PDA login.
      {"TXT_PROFILE_NOT_SAVED", L"Your profile could not be saved. The game will try again.",
       L"No se pudo guardar tu perfil. El juego lo intentar\u00E1 de nuevo.",
       L"\u041D\u0435 \u0443\u0434\u0430\u043B\u043E\u0441\u044C \u0441\u043E\u0445\u0440\u0430\u043D\u0438\u0442\u044C \u043F\u0440\u043E\u0444\u0438\u043B\u044C. "
       L"\u0418\u0433\u0440\u0430 \u043F\u043E\u043F\u0440\u043E\u0431\u0443\u0435\u0442 \u0435\u0449\u0451 \u0440\u0430\u0437."},
  };
}

// A green haze, brighter towards the middle, with faint scan lines.
formats::TestPicture RadiationImage() {
  formats::TestPicture picture(256, 256, 0xFF000000u);
  for (uint32_t y = 0; y < 256; ++y)
    for (uint32_t x = 0; x < 256; ++x) {
      const int dx = int(x) - 128, dy = int(y) - 128;
      const int d = (dx * dx + dy * dy) / 128;  // 0 .. 256
      int g = 220 - d / 2;
      if (y % 8 < 2) g -= 30;
      if (g < 40) g = 40;
      picture.At(x, y) = 0xFF000000u | (uint32_t(g / 5) << 16) | (uint32_t(g) << 8) | uint32_t(g / 4);
    }
  return picture;
}

bool WriteAppFiles(const datagen::Output& out) {
  return out.Write("Green.jpg", formats::JpegBytes(RadiationImage(), 90));
}

}  // namespace

DATAGEN_TEXTS("app", AppTexts);
DATAGEN_GROUP("app-files", WriteAppFiles);
