#include "DetectSupport.h"

#include "convert/ConvertChunk.h"
#include "text/ByteSink.h"

namespace varnex::test {

const LoadedMap& ShippedMap() {
    static const LoadedMap map = LoadMap(VARNEX_SHIPPED_FONT_MAP);
    return map;
}

const Detector& ShippedDetector() {
    static const Detector detector(ShippedMap());
    return detector;
}

std::string In(const std::string& font, const std::string& utf8) {
    FontMap pair;
    BuildPairMap(ShippedMap(), "UTF-8", font, pair);
    StringSink sink;
    ConvertChunk(utf8, pair, sink);
    return sink.Text();
}

const char kRussian[] = "Вечером мы долго гуляли по набережной и говорили о том, как изменился город.";
const char kUkrainian[] = "Ввечері ми довго гуляли набережною і говорили про те, як змінилося місто.";
const char kBelarusian[] = "Увечары мы доўга гулялі па набярэжнай і гаварылі пра тое, як змяніўся горад.";
const char kBulgarian[] = "Вечерта дълго се разхождахме по крайбрежната улица и говорихме за града.";
const char kSerbian[] = "Увече смо дуго шетали кејом и причали о томе како се град променио.";
const char kMacedonian[] = "Навечер долго шетавме по кејот и зборувавме за тоа како се смени градот.";

}  // namespace varnex::test
