// A stand-in for the spreadsheet application's automation object, for the
// Windows test only: scripts/windows-test.sh registers it as
// "Excel.Application" in its own Wine prefix. Every object answers every
// name: a property read or a method call returns a new object, a property
// write is accepted. Each call and each final release is appended to
// automation.log in the current directory, so that the test can compare the
// conversation ToExcel holds with the one it must hold.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// {1B2C3D4E-1111-2222-3333-444455556666}; the test registers this class.
const CLSID kServerClass = {0x1b2c3d4e, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

std::vector<std::wstring> g_names;  // DISPID n is g_names[n - 1]
long g_liveObjects = 0;

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(size - 1));
    return converted;
}

void Log(const std::string& line) {
    if (std::FILE* file = std::fopen("automation.log", "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

std::string KindText(WORD kind) {
    std::string text;
    if (kind & DISPATCH_METHOD) text += "call";
    if (kind & DISPATCH_PROPERTYGET) text += text.empty() ? "get" : "|get";
    if (kind & DISPATCH_PROPERTYPUT) text += text.empty() ? "put" : "|put";
    return text;
}

std::string ArgumentText(const VARIANT& value) {
    switch (value.vt) {
        case VT_I4: return "I4 " + std::to_string(value.lVal);
        case VT_BOOL: return value.boolVal == VARIANT_TRUE ? "BOOL true" : "BOOL false";
        case VT_BSTR: return "BSTR \"" + Utf8(value.bstrVal) + "\"";
        default: return "VT " + std::to_string(value.vt);
    }
}

class Object final : public IDispatch {
public:
    explicit Object(std::string path) : path_(std::move(path)) { ++g_liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == IID_IUnknown || id == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references_;
        if (left == 0) {
            --g_liveObjects;
            Log("release " + path_ + " (objects left: " + std::to_string(g_liveObjects) + ")");
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) {
            g_names.emplace_back(names[i]);
            ids[i] = static_cast<DISPID>(g_names.size());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (id < 1 || static_cast<std::size_t>(id) > g_names.size()) return DISP_E_MEMBERNOTFOUND;
        const std::string name = Utf8(g_names[static_cast<std::size_t>(id) - 1].c_str());
        std::string line = KindText(kind) + " " + path_ + "." + name + "(";
        for (UINT k = parameters->cArgs; k-- > 0;) {  // rgvarg holds them last first
            line += ArgumentText(parameters->rgvarg[k]);
            if (k > 0) line += ", ";
        }
        line += ")";
        if (parameters->cNamedArgs == 1 && parameters->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT) {
            line += " as the new value";
        }
        Log(line);
        if (result != nullptr) {
            VariantInit(result);
            if ((kind & DISPATCH_PROPERTYPUT) == 0) {
                result->vt = VT_DISPATCH;
                result->pdispVal = new Object(path_ + "." + name);
            }
        }
        return S_OK;
    }

private:
    long references_ = 1;
    std::string path_;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == IID_IUnknown || id == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** object) override {
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        Log("create application");
        Object* application = new Object("application");
        const HRESULT result = application->QueryInterface(id, object);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID id, void** object) {
    if (classId != kServerClass) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(id, object);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
