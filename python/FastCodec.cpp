// The codec of one font, as Python's codec machinery calls it on every bytes.decode and
// str.encode: plain C functions that do a call's whole work natively, a few hundred
// nanoseconds for a short text. A call that meets a code without an entry, an error handler
// other than strict, ignore and replace, or arguments of another shape goes to the module's
// Python half, which raises and replaces as Python's own codecs do.
#include "FastCodec.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NativeMap.h"
#include "varnex.h"

namespace py = pybind11;

namespace varnex::python {

namespace {

// Texts this long are converted with the GIL let go: about four microseconds of work.
constexpr Py_ssize_t kReleaseFrom = 16 * 1024;

struct CodecState {
    std::shared_ptr<Map> map;
    std::string font;
    py::object slowDecode, slowEncode;
    std::uint64_t id;
};

struct CodecObject {
    PyObject_HEAD CodecState* state;
};

// The converters of this thread, one per codec, direction and policy.
struct KeptConverter {
    std::uint64_t key;
    std::shared_ptr<Map> map;  // outlives the converter
    varnex_converter* converter;
};

struct ThreadConverters {
    std::vector<KeptConverter> kept;
    ~ThreadConverters() {
        for (KeptConverter& each : kept) varnex_converter_close(each.converter);
    }
};

thread_local ThreadConverters threadConverters;

varnex_converter* ConverterFor(const CodecState& state, bool decode, bool stop) {
    const std::uint64_t key = state.id * 4 + (decode ? 2 : 0) + (stop ? 1 : 0);
    for (const KeptConverter& each : threadConverters.kept)
        if (each.key == key) return each.converter;
    varnex_converter* made = nullptr;
    const char* from = decode ? state.font.c_str() : "UTF-8";
    const char* to = decode ? "UTF-8" : state.font.c_str();
    if (varnex_converter_open(state.map->Handle(), from, to, stop ? VARNEX_STOP : VARNEX_DROP, 0, nullptr,
                              nullptr, &made) != VARNEX_OK) {
        PyErr_SetString(PyExc_ValueError, varnex_error_message());
        return nullptr;
    }
    threadConverters.kept.push_back({key, state.map, made});
    return made;
}

enum class Handling { Stop, Drop, Python };

Handling HandlingOf(PyObject* const* args, Py_ssize_t count) {
    if (count < 2) return Handling::Stop;
    PyObject* errors = args[1];
    if (!PyUnicode_Check(errors)) return Handling::Python;
    if (PyUnicode_CompareWithASCIIString(errors, "strict") == 0 ||
        PyUnicode_CompareWithASCIIString(errors, "replace") == 0)
        return Handling::Stop;
    if (PyUnicode_CompareWithASCIIString(errors, "ignore") == 0) return Handling::Drop;
    return Handling::Python;
}

PyObject* Pair(PyObject* first, Py_ssize_t taken) {
    if (!first) return nullptr;
    PyObject* count = PyLong_FromSsize_t(taken);
    PyObject* pair = count ? PyTuple_New(2) : nullptr;
    if (!pair) {
        Py_DECREF(first);
        Py_XDECREF(count);
        return nullptr;
    }
    PyTuple_SET_ITEM(pair, 0, first);
    PyTuple_SET_ITEM(pair, 1, count);
    return pair;
}

// Codes decoded straight into a str of two-byte characters, where every code is one
// character below U+10000: a str holding only characters below U+0100 is made again in
// its narrow form, which is the only form Python takes for such a text.
PyObject* DecodeWide(varnex_converter* converter, const std::uint8_t* in, Py_ssize_t count, bool release,
                     bool& stopped) {
    PyObject* text = PyUnicode_New(count, 0xFFFF);
    if (!text) return nullptr;
    std::size_t taken = 0, written = 0;
    std::uint32_t largest = 0;
    varnex_status status;
    {
        PyThreadState* saved = release ? PyEval_SaveThread() : nullptr;
        status = varnex_decode_code_points(converter, in, static_cast<std::size_t>(count), &taken,
                                           PyUnicode_DATA(text), 2, &written, &largest);
        if (saved) PyEval_RestoreThread(saved);
    }
    stopped = status != VARNEX_OK;
    if (stopped || (largest >= 0x100 && written == static_cast<std::size_t>(count))) {
        if (stopped) Py_CLEAR(text);
        return text;
    }
    PyObject* exact = PyUnicode_FromKindAndData(PyUnicode_2BYTE_KIND, PyUnicode_DATA(text),
                                                static_cast<Py_ssize_t>(written));
    Py_DECREF(text);
    return exact;
}

// Codes measured first, then decoded into a str of exactly that size and form.
PyObject* DecodeMeasured(varnex_converter* converter, const std::uint8_t* in, Py_ssize_t count, bool release,
                         bool& stopped) {
    std::size_t points = 0;
    std::uint32_t largest = 0;
    PyThreadState* saved = release ? PyEval_SaveThread() : nullptr;
    varnex_status status =
        varnex_measure_code_points(converter, in, static_cast<std::size_t>(count), &points, &largest);
    if (saved) PyEval_RestoreThread(saved);
    stopped = status != VARNEX_OK;
    if (stopped) return nullptr;
    PyObject* text = PyUnicode_New(static_cast<Py_ssize_t>(points), std::min<Py_UCS4>(largest, 0x10FFFF));
    if (!text) return nullptr;
    std::size_t taken = 0, written = 0;
    saved = release ? PyEval_SaveThread() : nullptr;
    status = varnex_decode_code_points(converter, in, static_cast<std::size_t>(count), &taken,
                                       PyUnicode_DATA(text), static_cast<unsigned>(PyUnicode_KIND(text)),
                                       &written, &largest);
    if (saved) PyEval_RestoreThread(saved);
    stopped = status != VARNEX_OK || written != points;
    if (stopped) Py_CLEAR(text);
    return text;
}

PyObject* Decode(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    const CodecState& state = *reinterpret_cast<CodecObject*>(self)->state;
    const Handling handling = HandlingOf(args, nargs);
    if (kwnames || nargs < 1 || nargs > 2 || handling == Handling::Python)
        return PyObject_Vectorcall(state.slowDecode.ptr(), args, static_cast<std::size_t>(nargs), kwnames);
    varnex_converter* converter = ConverterFor(state, true, handling == Handling::Stop);
    if (!converter) return nullptr;
    Py_buffer view;
    if (PyObject_GetBuffer(args[0], &view, PyBUF_SIMPLE) < 0) return nullptr;
    const auto* in = static_cast<const std::uint8_t*>(view.buf);
    const bool oneEach = varnex_decodes_to_16_bits(converter) &&
                         varnex_code_point_room(converter, static_cast<std::size_t>(view.len)) ==
                             static_cast<std::size_t>(view.len);
    // only codes that no other thread can change between the measure and the decode are
    // converted with the GIL let go
    const bool release = view.len >= kReleaseFrom && PyBytes_CheckExact(args[0]);
    bool stopped = false;
    PyObject* text = oneEach ? DecodeWide(converter, in, view.len, release, stopped)
                             : DecodeMeasured(converter, in, view.len, release, stopped);
    const Py_ssize_t taken = view.len;
    PyBuffer_Release(&view);
    if (stopped && !PyErr_Occurred())
        return PyObject_Vectorcall(state.slowDecode.ptr(), args, static_cast<std::size_t>(nargs), nullptr);
    return Pair(text, taken);
}

PyObject* Encode(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    const CodecState& state = *reinterpret_cast<CodecObject*>(self)->state;
    const Handling handling = HandlingOf(args, nargs);
    if (kwnames || nargs < 1 || nargs > 2 || handling == Handling::Python || !PyUnicode_Check(args[0]))
        return PyObject_Vectorcall(state.slowEncode.ptr(), args, static_cast<std::size_t>(nargs), kwnames);
    varnex_converter* converter = ConverterFor(state, false, handling == Handling::Stop);
    if (!converter) return nullptr;
    PyObject* text = args[0];
    const Py_ssize_t length = PyUnicode_GET_LENGTH(text);
    const std::size_t room = varnex_code_point_room(converter, static_cast<std::size_t>(length));
    PyObject* codes = PyBytes_FromStringAndSize(nullptr, static_cast<Py_ssize_t>(room));
    if (!codes) return nullptr;
    std::size_t taken = 0, written = 0;
    PyThreadState* saved = length >= kReleaseFrom ? PyEval_SaveThread() : nullptr;
    const varnex_status status = varnex_encode_code_points(
        converter, PyUnicode_DATA(text), static_cast<unsigned>(PyUnicode_KIND(text)),
        static_cast<std::size_t>(length), &taken, reinterpret_cast<std::uint8_t*>(PyBytes_AS_STRING(codes)),
        &written);
    if (saved) PyEval_RestoreThread(saved);
    if (status != VARNEX_OK) {
        Py_DECREF(codes);
        if (status == VARNEX_ERROR) {
            PyErr_SetString(PyExc_ValueError, varnex_error_message());
            return nullptr;
        }
        return PyObject_Vectorcall(state.slowEncode.ptr(), args, static_cast<std::size_t>(nargs), nullptr);
    }
    if (written != room && _PyBytes_Resize(&codes, static_cast<Py_ssize_t>(written)) < 0) return nullptr;
    return Pair(codes, length);
}

void Dealloc(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    delete reinterpret_cast<CodecObject*>(self)->state;
    PyObject_Free(self);
    Py_DECREF(type);
}

PyMethodDef kMethods[] = {
    {"decode", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(Decode)),
     METH_FASTCALL | METH_KEYWORDS, "decode(data, errors='strict') -> (str, codes taken)"},
    {"encode", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(Encode)),
     METH_FASTCALL | METH_KEYWORDS, "encode(text, errors='strict') -> (bytes, characters taken)"},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot kSlots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(Dealloc)},
    {Py_tp_methods, kMethods},
    {Py_tp_doc,
     const_cast<char*>("The codec of one font of a map: encode and decode as codecs.CodecInfo takes them.")},
    {0, nullptr},
};

// made by make_codec alone: a Codec without its state would have nothing to convert with
PyType_Spec kSpec = {"varnex._varnex.Codec", sizeof(CodecObject), 0,
                     Py_TPFLAGS_DEFAULT | Py_TPFLAGS_DISALLOW_INSTANTIATION, kSlots};

}  // namespace

void AddCodecType(py::module_& module) {
    auto type = py::reinterpret_steal<py::object>(PyType_FromSpec(&kSpec));
    if (!type) throw py::error_already_set();
    module.attr("Codec") = type;
    module.def(
        "make_codec",
        [type](std::shared_ptr<Map> map, std::string font, py::object decode, py::object encode) {
            static std::uint64_t made = 0;  // under the GIL
            PyObject* codec = PyObject_New(PyObject, reinterpret_cast<PyTypeObject*>(type.ptr()));
            if (!codec) throw py::error_already_set();
            reinterpret_cast<CodecObject*>(codec)->state =
                new CodecState{std::move(map), std::move(font), std::move(decode), std::move(encode), ++made};
            return py::reinterpret_steal<py::object>(codec);
        },
        py::arg("map"), py::arg("font"), py::arg("decode"), py::arg("encode"));
}

}  // namespace varnex::python
