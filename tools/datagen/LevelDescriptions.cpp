// The level descriptions "<Level>_EN/_ES/_RU.dat" of the three demo levels,
// with each level's briefing e-mail and its one attachment as UTF-16 texts.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/formats/TextFiles.h"

namespace {

using datagen::DEMO_LANGUAGES;
using datagen::DEMO_LEVELS;
using datagen::DemoLanguage;
using datagen::DemoLevel;
using datagen::WideName;
using Section = formats::Section<std::wstring>;

struct Briefing {
  const wchar_t* mail[3];  // English, Spanish, Russian
  bool imageAttachment;
  const wchar_t* attachmentTitle[3];
  const wchar_t* attachmentText[3];
};

const Briefing BRIEFINGS[3] = {
    {{L"Welcome aboard, agent.\nBefore we send you in, walk through the training hall and reach the exit marker.\n"
      L"Use the Action key at terminals.",
      L"Bienvenida a bordo, agente. ¿Lista?\nAntes de enviarte, recorre la sala de entrenamiento y llega a la salida.\n"
      L"Usa la tecla de acción en los terminales.",
      L"Добро пожаловать на борт, агент.\nПрежде чем отправить вас, пройдите тренировочный зал до выхода.\n"
      L"У терминалов нажимайте клавишу действия."},
     false,
     {L"Training checklist", L"Plan de práctica", L"План тренировки"},
     {L"1. Walk through the corridor into the hall.\n2. Shoot the box and the barrel.\n3. Pick up the weapon "
      L"upgrade.\n4. Use the terminal.\n5. Reach the exit.",
      L"1. Cruza el pasillo hasta la sala.\n2. Dispara a la caja y al barril.\n3. Recoge la mejora del arma.\n"
      L"4. Usa el terminal.\n5. Llega a la salida.",
      L"1. Пройдите по коридору в зал.\n2. Разбейте ящик и бочку.\n3. Подберите улучшение оружия.\n"
      L"4. Воспользуйтесь терминалом.\n5. Дойдите до выхода."}},
    {{L"Agent,\nthe east wing has lost power. Open the north gate at the hub's terminal, restore the circuit in "
      L"the north room and get through the east gate to the exit.\nThe red beam in the west room burns fast: "
      L"crossing it straight across costs about a quarter of your health, on the diagonal over a third, and "
      L"standing in it kills.",
      L"Agente:\nel ala este se ha quedado sin energía. Abre la puerta norte desde el terminal del vestíbulo, "
      L"restablece el circuito de la sala norte y cruza la puerta este hasta la salida.\nEl rayo rojo de la sala oeste "
      L"quema deprisa: cruzarlo de frente cuesta un cuarto de tu salud, en diagonal más de un tercio, y quedarte "
      L"en él te mata.",
      L"Агент,\nв восточном крыле нет питания. Откройте северные ворота с терминала в холле, восстановите цепь в "
      L"северном зале и пройдите через восточные ворота к выходу.\nКрасный луч в западном зале быстро "
      L"жжёт: пересечь его поперёк стоит четверти здоровья, наискосок больше трети, а стоять в нём "
      L"смертельно."},
     true,
     {L"Terminal schematic", L"Plano del terminal", L"Схема терминала"},
     {L"The terminal stands in the hub, before the north gate; the generator room lies beyond it.",
      L"El terminal está en el vestíbulo, ante la puerta norte; la sala del generador queda detrás.",
      L"Терминал стоит в холле перед северными воротами; за ними генераторная."}},
    {{L"This is the last stretch. The arena before the core is crawling with them. Charge the wave weapon with "
      L"blue shots, fire it from the console and get to the core while our charges seal their nests.",
      L"Es el último tramo. La arena ante el núcleo está llena de enemigos. Carga el arma de ondas con disparos "
      L"azules, dispárala desde la consola y llega al núcleo mientras nuestras cargas sellan sus nidos.",
      L"Это последний рубеж. Арена перед ядром кишит врагами. Зарядите волновое оружие синими выстрелами, "
      L"выпустите волну с пульта и идите к ядру, пока наши заряды запечатывают их гнёзда."},
     false,
     {L"Radiation warning", L"Aviso de radiación", L"Радиация: опасно"},
     {L"Radiation levels near the core are lethal after a few minutes. Do not linger.",
      L"La radiación cerca del núcleo es mortal en pocos minutos. No te entretengas.",
      L"Радиация у ядра смертельна уже через несколько минут. Не задерживайтесь."}},
};

std::vector<Section> LevelSections(const DemoLevel& level, const Briefing& briefing, const DemoLanguage& lang) {
  Section desc{L"LEVEL_DESC",
               {{L"ScriptFile", WideName(datagen::LevelScriptName(level))},
                {L"StartComic", WideName(level.startComic)},
                {L"EndComic", WideName(level.endComic)},
                {L"ShowPDA", L"TRUE"},
                {L"EmailFile", WideName(datagen::MailTextName(level, lang))},
                {L"MapTexture", WideName(level.mapTexture)},
                {L"MapRect", WideName(level.mapRect)},
                {L"AttachmentCount", L"1"}}};
  Section files{L"ENABLED_FILES", {}};
  for (int n = 0; n < datagen::DEMO_DOCUMENT_COUNT; ++n)
    files.keys.emplace_back(L"File" + std::to_wstring(n), n < level.enabledDocuments ? L"TRUE" : L"FALSE");
  Section attachment{
      L"ATTACHMENT_0",
      {{L"Type", briefing.imageAttachment ? L"IMAGE" : L"TEXT"},
       {L"Title", briefing.attachmentTitle[lang.index]},
       {L"TextFile", WideName(datagen::AttachmentTextName(level, lang))},
       {L"ImageFile", briefing.imageAttachment ? WideName(datagen::AttachmentImageName(level)) : L""},
       {L"ImageRect", L"0,0,480,200"},
       {L"ImagePos", L"204,200"}}};
  return {desc, files, attachment};
}

bool WriteLevelDescriptions(const datagen::Output& out) {
  bool ok = true;
  for (int i = 0; i < 3; ++i) {
    const DemoLevel& level = DEMO_LEVELS[i];
    for (const DemoLanguage& lang : DEMO_LANGUAGES) {
      ok &= out.Write(std::string(level.name) + lang.suffix + ".dat",
                      formats::KeyValueFileBytes(LevelSections(level, BRIEFINGS[i], lang)));
      ok &= out.Write(datagen::MailTextName(level, lang), formats::Utf16FileBytes(BRIEFINGS[i].mail[lang.index]));
      ok &= out.Write(datagen::AttachmentTextName(level, lang),
                      formats::Utf16FileBytes(BRIEFINGS[i].attachmentText[lang.index]));
    }
  }
  return ok;
}

}  // namespace

DATAGEN_GROUP("level descriptions", WriteLevelDescriptions);
