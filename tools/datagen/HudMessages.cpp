// The texts the demo levels' scripts show in the HUD's message box (with
// the commander's or the engineer's portrait of "Portraits.png"), in the
// three languages. Ids start "TXT_MSG_".
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"

namespace {

std::vector<datagen::GameText> HudMessages() {
  return {
      {"TXT_MSG_TUTORIAL_WELCOME",
       L"Commander here. Move with @KMP_UP @KMP_LEFT @KMP_DOWN @KMP_RIGHT aim with the mouse and turn the camera "
       L"with the mouse wheel. Blue shots hurt red enemies, red shots hurt blue ones.",
       L"Aqu\u00ed el comandante. Mu\u00e9vete con @KMP_UP @KMP_LEFT @KMP_DOWN @KMP_RIGHT apunta con el rat\u00f3n y gira la c\u00e1mara "
       L"con la rueda. Los disparos azules da\u00f1an a los enemigos rojos, y los rojos a los azules.",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u043a\u043e\u043c\u0430\u043d\u0434\u0438\u0440. "
       L"\u0414\u0432\u0438\u0433\u0430\u0439\u0442\u0435\u0441\u044c \u043a\u043b\u0430\u0432\u0438\u0448\u0430\u043c\u0438 "
       L"@KMP_UP @KMP_LEFT @KMP_DOWN @KMP_RIGHT, \u0446\u0435\u043b\u044c\u0442\u0435\u0441\u044c \u043c\u044b\u0448\u044c\u044e, "
       L"\u043a\u0430\u043c\u0435\u0440\u0443 \u043f\u043e\u0432\u043e\u0440\u0430\u0447\u0438\u0432\u0430\u0439\u0442\u0435 \u043a\u043e\u043b\u0451\u0441\u0438\u043a\u043e\u043c. "
       L"\u0421\u0438\u043d\u0438\u0435 \u0432\u044b\u0441\u0442\u0440\u0435\u043b\u044b \u0440\u0430\u043d\u044f\u0442 "
       L"\u043a\u0440\u0430\u0441\u043d\u044b\u0445 \u0432\u0440\u0430\u0433\u043e\u0432, \u043a\u0440\u0430\u0441\u043d\u044b\u0435 - "
       L"\u0441\u0438\u043d\u0438\u0445."},
      {"TXT_MSG_TUTORIAL_GENERATORS",
       L"Engineer here. Charge the generators with shots of their own colour to open the door.",
       L"Aqu\u00ed la ingeniera. Carga los generadores con disparos de su color para abrir la puerta.",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u0438\u043d\u0436\u0435\u043d\u0435\u0440. "
       L"\u0417\u0430\u0440\u044f\u0434\u0438\u0442\u0435 \u0433\u0435\u043d\u0435\u0440\u0430\u0442\u043e\u0440\u044b "
       L"\u0432\u044b\u0441\u0442\u0440\u0435\u043b\u0430\u043c\u0438 \u0438\u0445 \u0446\u0432\u0435\u0442\u0430, "
       L"\u0447\u0442\u043e\u0431\u044b \u043e\u0442\u043a\u0440\u044b\u0442\u044c \u0434\u0432\u0435\u0440\u044c."},
      {"TXT_MSG_TUTORIAL_ABILITY",
       L"Commander here. When the bar at the bottom is full, press @KMP_ABILITY to clear the room around you.",
       L"Aqu\u00ed el comandante. Cuando la barra inferior est\u00e9 llena, pulsa @KMP_ABILITY para limpiar la sala.",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u043a\u043e\u043c\u0430\u043d\u0434\u0438\u0440. "
       L"\u041a\u043e\u0433\u0434\u0430 \u043d\u0438\u0436\u043d\u044f\u044f \u0448\u043a\u0430\u043b\u0430 "
       L"\u0437\u0430\u043f\u043e\u043b\u043d\u0438\u0442\u0441\u044f, \u043d\u0430\u0436\u043c\u0438\u0442\u0435 "
       L"@KMP_ABILITY, \u0447\u0442\u043e\u0431\u044b \u043e\u0447\u0438\u0441\u0442\u0438\u0442\u044c "
       L"\u043a\u043e\u043c\u043d\u0430\u0442\u0443."},
      {"TXT_MSG_LEVEL4_TIMER",
       L"Engineer here. The reactor is failing: reach the exit before the count-down ends!",
       L"Aqu\u00ed la ingeniera. El reactor falla: \u00a1llega a la salida antes de que acabe la cuenta atr\u00e1s!",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u0438\u043d\u0436\u0435\u043d\u0435\u0440. "
       L"\u0420\u0435\u0430\u043a\u0442\u043e\u0440 \u043e\u0442\u043a\u0430\u0437\u044b\u0432\u0430\u0435\u0442: "
       L"\u0434\u043e\u0431\u0435\u0440\u0438\u0442\u0435\u0441\u044c \u0434\u043e \u0432\u044b\u0445\u043e\u0434\u0430 "
       L"\u0434\u043e \u043a\u043e\u043d\u0446\u0430 \u043e\u0442\u0441\u0447\u0451\u0442\u0430!"},
      {"TXT_MSG_LEVEL8_BOSS",
       L"Commander here. The guardian ahead changes colour. Watch it and switch your shots.",
       L"Aqu\u00ed el comandante. El guardi\u00e1n cambia de color. Obs\u00e9rvalo y cambia de disparo.",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u043a\u043e\u043c\u0430\u043d\u0434\u0438\u0440. "
       L"\u0421\u0442\u0440\u0430\u0436 \u0432\u043f\u0435\u0440\u0435\u0434\u0438 \u043c\u0435\u043d\u044f\u0435\u0442 "
       L"\u0446\u0432\u0435\u0442. \u0421\u043b\u0435\u0434\u0438\u0442\u0435 \u0437\u0430 \u043d\u0438\u043c \u0438 "
       L"\u043c\u0435\u043d\u044f\u0439\u0442\u0435 \u0432\u044b\u0441\u0442\u0440\u0435\u043b\u044b."},
  };
}

}  // namespace

DATAGEN_TEXTS("hud messages", HudMessages);
