// The Python module's native half: libvarnex's C API as Python objects. The GIL is let go
// around every call into the engine.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "FastCodec.h"
#include "NativeMap.h"
#include "varnex.h"

namespace py = pybind11;

namespace {

using varnex::python::Check;
using varnex::python::Map;

// Where a call stopped at a code or character without an entry.
struct Stop {
    bool stopped = false;
    std::size_t offset = 0;  // in the call's input
    std::uint32_t value = 0;
};

class Converter {
public:
    // `stop`: a call stops at the first code without an entry; otherwise they are left out.
    Converter(std::shared_ptr<Map> map, const std::string& source, const std::string& target, bool stop)
        : map_(std::move(map)) {
        Check(varnex_converter_open(map_->Handle(), source.c_str(), target.c_str(),
                                    stop ? VARNEX_STOP : VARNEX_DROP, 0, nullptr, nullptr, &converter_));
    }
    ~Converter() { varnex_converter_close(converter_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Bytes to bytes, resumable: (output, bytes taken, status, offset of a stop).
    py::tuple Convert(py::bytes data, bool final) {
        std::string_view in = data;
        std::string out;
        std::size_t taken = 0;
        varnex_status status;
        {
            py::gil_scoped_release free;
            out.resize(in.size() + in.size() / 2 + 64);
            std::size_t written = 0;
            while (true) {
                std::size_t used_in = 0, used_out = 0;
                status = varnex_convert(converter_, reinterpret_cast<const uint8_t*>(in.data()) + taken,
                                        in.size() - taken, &used_in,
                                        reinterpret_cast<uint8_t*>(out.data()) + written,
                                        out.size() - written, &used_out, final ? VARNEX_END_OF_INPUT : 0);
                taken += used_in;
                written += used_out;
                if (status != VARNEX_OUTPUT_FULL) break;
                out.resize(out.size() * 2 + 64);
            }
            out.resize(written);
        }
        Check(status);
        return py::make_tuple(py::bytes(out), taken, static_cast<int>(status),
                              varnex_unmapped_offset(converter_));
    }

    void Reset() { varnex_converter_reset(converter_); }

    // Codes to a str, at once: (text, codes taken, stopped, offset of the stop). The text is
    // measured first and decoded straight into the str, in the narrowest form that holds it.
    py::tuple Decode(py::buffer data) {
        const py::buffer_info info = data.request();
        const auto* in = static_cast<const uint8_t*>(info.ptr);
        const auto count = static_cast<std::size_t>(info.size * info.itemsize);
        std::size_t points = 0;
        uint32_t largest = 0;
        varnex_status status;
        // codes that another thread may change between the measure and the decode (a
        // bytearray) are converted under the GIL: the str is made of the measured size
        const bool immutable = PyBytes_Check(data.ptr());
        {
            std::optional<py::gil_scoped_release> free;
            if (immutable) free.emplace();
            status = varnex_measure_code_points(converter_, in, count, &points, &largest);
        }
        Check(status);
        PyObject* made = PyUnicode_New(static_cast<Py_ssize_t>(points), std::min<Py_UCS4>(largest, 0x10FFFF));
        if (!made) throw py::error_already_set();
        auto text = py::reinterpret_steal<py::str>(made);
        std::size_t taken = 0, written = 0;
        {
            std::optional<py::gil_scoped_release> free;
            if (immutable) free.emplace();
            status =
                varnex_decode_code_points(converter_, in, count, &taken, PyUnicode_DATA(made),
                                          static_cast<unsigned>(PyUnicode_KIND(made)), &written, &largest);
        }
        Check(status);
        if (written < points) {  // stopped early: the part before the stop, in its own form
            PyObject* part = PyUnicode_Substring(made, 0, static_cast<Py_ssize_t>(written));
            if (!part) throw py::error_already_set();
            text = py::reinterpret_steal<py::str>(part);
        }
        return py::make_tuple(text, taken, status == VARNEX_UNMAPPED, varnex_unmapped_offset(converter_));
    }

    // A str to codes, at once: (bytes, characters taken, stopped, offset of the stop).
    py::tuple Encode(py::str text) {
        PyObject* object = text.ptr();
        const Py_ssize_t length = PyUnicode_GET_LENGTH(object);
        const unsigned width = PyUnicode_KIND(object);
        const void* in = PyUnicode_DATA(object);
        std::string out(varnex_code_point_room(converter_, static_cast<std::size_t>(length)), '\0');
        std::size_t taken = 0, written = 0;
        varnex_status status;
        {
            py::gil_scoped_release free;
            status = varnex_encode_code_points(converter_, in, width, static_cast<std::size_t>(length),
                                               &taken, reinterpret_cast<uint8_t*>(out.data()), &written);
        }
        Check(status);
        out.resize(written);
        return py::make_tuple(py::bytes(out), taken, status == VARNEX_UNMAPPED,
                              varnex_unmapped_offset(converter_));
    }

private:
    std::shared_ptr<Map> map_;  // kept open while the converter lives
    varnex_converter* converter_ = nullptr;
};

struct Candidate {
    std::string font;
    double confidence;
    std::string language;
};

py::dict Detect(const std::shared_ptr<Map>& map, py::bytes sample) {
    std::string_view bytes = sample;
    varnex_detection* detection = nullptr;
    varnex_status status;
    {
        py::gil_scoped_release free;
        status = varnex_detect(map->Handle(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                               &detection);
    }
    Check(status);
    std::unique_ptr<varnex_detection, decltype(&varnex_detection_free)> owned(detection,
                                                                              varnex_detection_free);
    py::list candidates;
    for (std::size_t i = 0; i < varnex_detection_count(detection); ++i) {
        candidates.append(py::make_tuple(varnex_detection_font(detection, i),
                                         varnex_detection_confidence(detection, i),
                                         varnex_detection_language(detection, i)));
    }
    static const char* const kVerdicts[] = {"font", "any font", "cannot tell"};
    py::dict result;
    result["verdict"] = kVerdicts[varnex_detection_verdict(detection)];
    result["candidates"] = candidates;
    const char* typed = varnex_detection_typed(detection);
    const char* readAs = varnex_detection_read_as(detection);
    result["typed"] = typed ? py::object(py::str(typed)) : py::object(py::none());
    result["read_as"] = readAs ? py::object(py::str(readAs)) : py::object(py::none());
    return result;
}

// Progress and messages from the engine's threads reach Python with the GIL taken again.
struct BatchCallbacks {
    py::object progress;
    std::vector<std::string> messages;
    std::mutex mutex;
};

int TellProgress(void* context, uint64_t done, uint64_t total) {
    auto* callbacks = static_cast<BatchCallbacks*>(context);
    if (callbacks->progress.is_none()) return 0;
    py::gil_scoped_acquire held;
    try {
        return callbacks->progress(done, total).cast<bool>() ? 1 : 0;
    } catch (py::error_already_set&) {
        return 1;  // a callback that fails stops the batch
    }
}

void TellMessage(void* context, const char* message) {
    auto* callbacks = static_cast<BatchCallbacks*>(context);
    const std::lock_guard lock(callbacks->mutex);
    callbacks->messages.emplace_back(message);
}

// A batch request and the texts it points into.
struct Request {
    std::vector<std::string> texts;
    std::vector<const char*> names;
    std::optional<std::string> backup;
    varnex_batch_request request{};
};

std::unique_ptr<Request> MakeRequest(const std::string& source, const std::string& target,
                                     const std::vector<std::string>& inputs, const std::string& output,
                                     const std::string& kind, bool recursive, bool force,
                                     std::optional<std::string> backup) {
    auto made = std::make_unique<Request>();
    made->texts = {source, target, output};
    made->backup = std::move(backup);
    for (const std::string& input : inputs) made->texts.push_back(input);
    for (std::size_t i = 3; i < made->texts.size(); ++i) made->names.push_back(made->texts[i].c_str());
    varnex_batch_request& request = made->request;
    request.from = made->texts[0].c_str();
    request.to = made->texts[1].c_str();
    request.output = made->texts[2].c_str();
    request.inputs = made->names.data();
    request.input_count = made->names.size();
    request.recursive = recursive;
    if (kind == "file") {
        request.output_kind = VARNEX_OUTPUT_ONE_FILE;
    } else if (kind == "beside") {
        request.output_kind = VARNEX_OUTPUT_BESIDE;
    } else if (kind == "in place") {
        request.output_kind = VARNEX_OUTPUT_IN_PLACE;
    } else {
        throw py::value_error("the output is \"file\", \"beside\" or \"in place\", not \"" + kind + "\"");
    }
    request.force = force;
    request.backup_suffix = made->backup ? made->backup->c_str() : nullptr;
    return made;
}

void AddPlanned(void* context, const char* input, const char* output, const char* fault) {
    auto* planned =
        static_cast<std::vector<std::tuple<std::string, std::string, std::optional<std::string>>>*>(context);
    planned->emplace_back(input, output, fault ? std::optional<std::string>(fault) : std::nullopt);
}

std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> PlanBatch(
    const std::shared_ptr<Map>& map, const std::string& source, const std::string& target,
    const std::vector<std::string>& inputs, const std::string& output, const std::string& kind,
    bool recursive, bool force) {
    const auto made = MakeRequest(source, target, inputs, output, kind, recursive, force, std::nullopt);
    std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> planned;
    varnex_status status;
    {
        py::gil_scoped_release free;
        status = varnex_plan_batch(map->Handle(), &made->request, AddPlanned, &planned);
    }
    Check(status);
    return planned;
}

py::dict ConvertBatch(const std::shared_ptr<Map>& map, const std::string& source, const std::string& target,
                      const std::vector<std::string>& inputs, const std::string& output,
                      const std::string& kind, bool recursive, bool force, std::optional<std::string> backup,
                      bool keepTime, unsigned jobs, bool strict, py::object progress) {
    const auto made = MakeRequest(source, target, inputs, output, kind, recursive, force, std::move(backup));
    varnex_batch_request& request = made->request;
    request.keep_time = keepTime;
    request.jobs = jobs;
    request.strict = strict;
    BatchCallbacks callbacks{std::move(progress), {}, {}};
    varnex_batch_totals totals{};
    varnex_status status;
    {
        py::gil_scoped_release free;
        status =
            varnex_convert_batch(map->Handle(), &request, TellProgress, TellMessage, &callbacks, &totals);
    }
    py::dict result;
    result["converted"] = totals.converted;
    result["failed"] = totals.failed;
    result["skipped"] = totals.skipped;
    result["bytes"] = totals.bytes;
    result["dropped"] = totals.dropped;
    result["cancelled"] = status == VARNEX_CANCELLED;
    result["messages"] = callbacks.messages;
    result["error"] =
        status == VARNEX_ERROR ? py::object(py::str(varnex_error_message())) : py::object(py::none());
    return result;
}

}  // namespace

PYBIND11_MODULE(_varnex, module) {
    module.doc() = "The native half of the varnex module: libvarnex's converters, batches and detector.";
    module.attr("version") = varnex_version();
    py::class_<Map, std::shared_ptr<Map>>(module, "Map")
        .def(py::init<std::optional<std::string>>(), py::arg("path") = py::none())
        .def_property_readonly("fonts", &Map::Fonts)
        .def("aliases", &Map::Aliases, py::arg("font"))
        .def("find_font", &Map::FindFont, py::arg("typed"));
    py::class_<Converter>(module, "Converter")
        .def(py::init<std::shared_ptr<Map>, const std::string&, const std::string&, bool>(), py::arg("map"),
             py::arg("source"), py::arg("target"), py::arg("stop"))
        .def("convert", &Converter::Convert, py::arg("data"), py::arg("final"))
        .def("reset", &Converter::Reset)
        .def("decode", &Converter::Decode, py::arg("data"))
        .def("encode", &Converter::Encode, py::arg("text"));
    varnex::python::AddCodecType(module);
    module.def("detect", &Detect, py::arg("map"), py::arg("sample"));
    module.def("plan_batch", &PlanBatch, py::arg("map"), py::arg("source"), py::arg("target"),
               py::arg("inputs"), py::arg("output"), py::arg("kind"), py::arg("recursive"), py::arg("force"));
    module.def("convert_batch", &ConvertBatch, py::arg("map"), py::arg("source"), py::arg("target"),
               py::arg("inputs"), py::arg("output"), py::arg("kind"), py::arg("recursive"), py::arg("force"),
               py::arg("backup"), py::arg("keep_time"), py::arg("jobs"), py::arg("strict"),
               py::arg("progress"));
}
