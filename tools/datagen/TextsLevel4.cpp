// The texts Level4's scripts name: its three objectives and the briefing
// shown in the message box at the start, in the three languages.
#include <vector>

#include "tools/datagen/DataGen.h"
#include "tools/datagen/GameTexts.h"

namespace {

std::vector<datagen::GameText> Level4Texts() {
  return {
      {"TXT_OBJ_L4_TARGETS", L"Knock down the two targets with red shots", L"Derriba los dos blancos con disparos rojos",
       L"Собейте мишени красными выстрелами"},
      {"TXT_OBJ_L4_CIRCUIT", L"Fill the generator and mend the north circuit",
       L"Llena el generador y repara el circuito norte", L"Зарядите генератор и почините цепь"},
      {"TXT_OBJ_L4_EXIT", L"Reach the exit of the east room", L"Llega a la salida de la sala este",
       L"Дойдите до выхода в восточном зале"},
      {"TXT_MSG_LEVEL4_START",
       L"Commander here. The red beam in the west room burns: crossing it straight across costs a quarter of your "
       L"health, on the diagonal over a third. Take the targets down, then break the door.",
       L"Aquí el comandante. El rayo rojo de la sala oeste quema: cruzarlo de frente cuesta un cuarto de tu salud; "
       L"en diagonal, más de un tercio. Derriba los blancos y rompe la puerta.",
       L"Говорит командир. Красный луч в западном зале жжёт: пересечь его поперёк стоит четверти здоровья, а "
       L"наискосок больше трети. Собейте мишени, затем выбейте дверь."},
  };
}

}  // namespace

DATAGEN_TEXTS("level4 texts", Level4Texts);
