// The tutorial level's own texts: its four objectives and the messages its
// scripts show, in English, Spanish and Russian.
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"

namespace {

std::vector<datagen::GameText> TutorialTexts() {
  return {
      {"TXT_OBJ_TUTORIAL_BOX", L"Shoot the box in the hall", L"Dispara a la caja de la sala",
       L"Разбейте ящик в зале выстрелом"},
      {"TXT_OBJ_TUTORIAL_ITEM", L"Pick up the weapon upgrade", L"Recoge la mejora del arma",
       L"Подберите улучшение оружия"},
      {"TXT_OBJ_TUTORIAL_TERMINAL", L"Use the terminal to open the exit",
       L"Usa el terminal para abrir la salida", L"Откройте выход с терминала"},
      {"TXT_OBJ_TUTORIAL_EXIT", L"Reach the exit", L"Llega a la salida", L"Дойдите до выхода"},
      {"TXT_MSG_TUTORIAL_SHOOT",
       L"Commander here. Boxes and barrels break under fire: shoot the box to the north and the barrel to the "
       L"south, then pick up the upgrade.",
       L"Aquí el comandante. Las cajas y los barriles se rompen a tiros: dispara a la caja del norte y al barril "
       L"del sur, y recoge la mejora.",
       L"Говорит командир. Ящики и бочки разбиваются выстрелами: стреляйте в ящик на севере и в бочку на юге, "
       L"затем подберите улучшение."},
      {"TXT_MSG_TUTORIAL_EXIT",
       L"Commander here. The exit is open. Follow the marker north to leave the training hall.",
       L"Aquí el comandante. La salida está abierta. Sigue la marca hacia el norte para salir de la sala.",
       L"Говорит командир. Выход открыт. Идите к отметке на севере, чтобы покинуть зал."},
  };
}

}  // namespace

DATAGEN_TEXTS("tutorial", TutorialTexts);
