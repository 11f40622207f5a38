// The texts of Level8's scripts: its three objectives and the messages the
// wave-weapon station and the core's radiation show, in the three languages.
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"

namespace {

std::vector<datagen::GameText> Level8Texts() {
  return {
      {"TXT_L8_OBJ_STATION", L"Charge the wave weapon with blue shots",
       L"Carga el arma de ondas con disparos azules",
       L"\u0417\u0430\u0440\u044f\u0434\u0438\u0442\u0435 \u0432\u043e\u043b\u043d\u043e\u0432\u043e\u0435 "
       L"\u043e\u0440\u0443\u0434\u0438\u0435 \u0441\u0438\u043d\u0438\u043c\u0438 \u0432\u044b\u0441\u0442\u0440\u0435\u043b\u0430\u043c\u0438"},
      {"TXT_L8_OBJ_WAVE", L"Fire the wave from the console", L"Dispara la onda desde la consola",
       L"\u0412\u044b\u043f\u0443\u0441\u0442\u0438\u0442\u0435 \u0432\u043e\u043b\u043d\u0443 \u0441 "
       L"\u043f\u0443\u043b\u044c\u0442\u0430"},
      {"TXT_L8_OBJ_CORE", L"Reach the core", L"Llega al n\u00facleo",
       L"\u0414\u043e\u0431\u0435\u0440\u0438\u0442\u0435\u0441\u044c \u0434\u043e \u044f\u0434\u0440\u0430"},
      {"TXT_MSG_LEVEL8_STATION",
       L"Engineer here. The wave weapon is charged. Stand at the console and press the Action key to fire it.",
       L"Aqu\u00ed la ingeniera. El arma de ondas est\u00e1 cargada. Ponte en la consola y pulsa la tecla de "
       L"acci\u00f3n para dispararla.",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u0438\u043d\u0436\u0435\u043d\u0435\u0440. "
       L"\u0412\u043e\u043b\u043d\u043e\u0432\u043e\u0435 \u043e\u0440\u0443\u0434\u0438\u0435 "
       L"\u0437\u0430\u0440\u044f\u0436\u0435\u043d\u043e. \u0412\u0441\u0442\u0430\u043d\u044c\u0442\u0435 \u0443 "
       L"\u043f\u0443\u043b\u044c\u0442\u0430 \u0438 \u043d\u0430\u0436\u043c\u0438\u0442\u0435 "
       L"\u043a\u043b\u0430\u0432\u0438\u0448\u0443 \u0434\u0435\u0439\u0441\u0442\u0432\u0438\u044f."},
      {"TXT_MSG_LEVEL8_NESTS",
       L"Commander here. The wave is out and the charges are sealing the nests. Get to the core, now!",
       L"Aqu\u00ed el comandante. La onda ha salido y las cargas sellan los nidos. \u00a1Ve al n\u00facleo, ya!",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u043a\u043e\u043c\u0430\u043d\u0434\u0438\u0440. "
       L"\u0412\u043e\u043b\u043d\u0430 \u043f\u043e\u0448\u043b\u0430, \u0437\u0430\u0440\u044f\u0434\u044b "
       L"\u0437\u0430\u043f\u0435\u0447\u0430\u0442\u044b\u0432\u0430\u044e\u0442 \u0433\u043d\u0451\u0437\u0434\u0430. "
       L"\u0412\u043f\u0435\u0440\u0451\u0434, \u043a \u044f\u0434\u0440\u0443!"},
      {"TXT_MSG_LEVEL8_RADIATION",
       L"Engineer here. Radiation is rising around the core. Do not stop until you reach it.",
       L"Aqu\u00ed la ingeniera. La radiaci\u00f3n sube cerca del n\u00facleo. No te detengas hasta llegar.",
       L"\u0413\u043e\u0432\u043e\u0440\u0438\u0442 \u0438\u043d\u0436\u0435\u043d\u0435\u0440. "
       L"\u0423 \u044f\u0434\u0440\u0430 \u0440\u0430\u0441\u0442\u0451\u0442 \u0440\u0430\u0434\u0438\u0430\u0446\u0438\u044f. "
       L"\u041d\u0435 \u043e\u0441\u0442\u0430\u043d\u0430\u0432\u043b\u0438\u0432\u0430\u0439\u0442\u0435\u0441\u044c, "
       L"\u043f\u043e\u043a\u0430 \u043d\u0435 \u0434\u043e\u0431\u0435\u0440\u0451\u0442\u0435\u0441\u044c."},
  };
}

}  // namespace

DATAGEN_TEXTS("level8", Level8Texts);
