// The network documents of the PDA: "Files_EN/_ES/_RU.dat" describing
// twelve documents and each document's UTF-16 text in the three languages.
// Every third document also shows a picture.
#include "tools/datagen/DataGen.h"
#include "tools/datagen/DemoLevels.h"
#include "tools/formats/TextFiles.h"

namespace {

using datagen::DEMO_DOCUMENT_COUNT;
using datagen::DEMO_LANGUAGES;
using datagen::DemoLanguage;
using Section = formats::Section<std::wstring>;

struct DocumentText {
  const wchar_t* title[3];  // English, Spanish, Russian
  const wchar_t* text[3];
};

const DocumentText DOCUMENTS[DEMO_DOCUMENT_COUNT] = {
    {{L"Station log", L"Registro de la estación", L"Журнал станции"},
     {L"Day 112. The lower decks were sealed after the power failure.\nNobody has answered from the labs since.",
      L"Día 112. Las cubiertas inferiores se sellaron tras el apagón.\nNadie ha respondido desde los laboratorios.",
      L"День 112. Нижние палубы закрыли после отказа питания.\nИз лабораторий с тех пор никто не отвечает."}},
    {{L"Safety rules", L"Normas de seguridad", L"Правила безопасности"},
     {L"Never cross an active laser.\nRed shots hurt blue units, blue shots hurt red units.",
      L"No cruces nunca un láser activo.\nLos disparos rojos dañan a las unidades azules y los azules a las rojas.",
      L"Никогда не пересекайте активный лазер.\nКрасные выстрелы ранят синих, синие — красных."}},
    {{L"Floor plan", L"Plano de la planta", L"План этажа"},
     {L"Plan of the training hall.", L"Plano de la sala de entrenamiento.", L"План тренировочного зала."}},
    {{L"Staff memo", L"Nota al personal", L"Записка персоналу"},
     {L"Access cards are to be returned to security at the end of every shift.",
      L"Las tarjetas de acceso se devolverán a seguridad al final de cada turno.",
      L"Карты доступа сдаются охране в конце каждой смены."}},
    {{L"Generator manual", L"Manual del generador", L"Генератор: инструкция"},
     {L"Charge a generator with shots of its colour until it is full.\nThen route its current through the connectors.",
      L"Carga un generador con disparos de su color hasta llenarlo.\nDespués lleva su corriente por los conectores.",
      L"Заряжайте генератор выстрелами его цвета, пока он не заполнится.\nЗатем проведите ток через соединители."}},
    {{L"Circuit diagram", L"Diagrama del circuito", L"Схема цепи"},
     {L"Wiring of the east receptors.", L"Cableado de los receptores del este.", L"Разводка восточных приёмников."}},
    {{L"Lab report", L"Informe del laboratorio", L"Отчёт лаборатории"},
     {L"The samples reacted to both colours of energy. Containment is not guaranteed.",
      L"Las muestras reaccionaron a ambos colores de energía. La contención no está garantizada.",
      L"Образцы реагировали на оба цвета энергии. Удержание не гарантировано."}},
    {{L"Intercepted message", L"Mensaje interceptado", L"Перехват сообщения"},
     {L"...the shipment leaves at dawn. Make sure the guards look the other way...",
      L"...el envío sale al amanecer. Asegúrate de que los guardias miren hacia otro lado...",
      L"...груз отправят на рассвете. Проследи, чтобы охрана смотрела в другую сторону..."}},
    {{L"Surveillance photo", L"Foto de vigilancia", L"Снимок наблюдения"},
     {L"Camera 7, corridor B, 03:12.", L"Cámara 7, pasillo B, 03:12.", L"Камера 7, коридор Б, 03:12."}},
    {{L"Director's diary", L"Diario del director", L"Дневник директора"},
     {L"I should have stopped the project when the first unit turned against us.",
      L"Debí detener el proyecto cuando la primera unidad se volvió contra nosotros.",
      L"Мне следовало остановить проект, когда первый образец обернулся против нас."}},
    {{L"Evacuation order", L"Orden de evacuación", L"Приказ об эвакуации"},
     {L"All personnel: leave the station through the north lift. This is not a drill.",
      L"Todo el personal: abandonen la estación por el ascensor norte. No es un simulacro.",
      L"Всему персоналу: покинуть станцию через северный лифт. Это не учения."}},
    {{L"Core map", L"Mapa del núcleo", L"Карта ядра"},
     {L"The reactor core and its three access shafts.", L"El núcleo del reactor y sus tres pozos de acceso.",
      L"Ядро реактора и три шахты доступа к нему."}},
};

Section DocumentSection(int n, const DemoLanguage& language) {
  const bool image = datagen::DocumentIsImage(n);
  return Section{L"FILE_" + std::to_wstring(n),
                 {{L"Type", image ? L"IMAGE" : L"TEXT"},
                  {L"Title", DOCUMENTS[n].title[language.index]},
                  {L"TextFile", datagen::WideName(datagen::DocumentTextName(n, language))},
                  {L"ImageFile", image ? datagen::WideName(datagen::DocumentImageName(n)) : L""},
                  {L"ImageRect", L"0,0,480,200"},
                  {L"ImagePos", L"204,200"}}};
}

bool WriteDocuments(const datagen::Output& out) {
  bool ok = true;
  for (const DemoLanguage& language : DEMO_LANGUAGES) {
    std::vector<Section> sections;
    for (int n = 0; n < DEMO_DOCUMENT_COUNT; ++n) {
      sections.push_back(DocumentSection(n, language));
      ok &= out.Write(datagen::DocumentTextName(n, language),
                      formats::Utf16FileBytes(DOCUMENTS[n].text[language.index]));
    }
    ok &= out.Write(std::string("Files") + language.suffix + ".dat", formats::KeyValueFileBytes(sections));
  }
  return ok;
}

}  // namespace

DATAGEN_GROUP("documents", WriteDocuments);
