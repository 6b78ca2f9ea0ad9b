// ToExcel on Windows: the table goes to the spreadsheet application by OLE
// automation with late binding. Every property and method is looked up by
// name (GetIDsOfNames) and reached through IDispatch::Invoke; no type
// library is used.
#if defined(_WIN32)

#include "export/Automation.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
// clang-format on

#include <string>
#include <utility>

#include "export/NumberText.h"
#include "export/Spreadsheet.h"

namespace zentrik {
namespace {

// Owns one reference to an automation object.
class Dispatch {
public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* object) : object_(object) {}
    Dispatch(Dispatch&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Dispatch& operator=(Dispatch&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
    ~Dispatch() { Reset(); }

    IDispatch* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void Reset() {
        if (object_ != nullptr) std::exchange(object_, nullptr)->Release();
    }

private:
    IDispatch* object_ = nullptr;
};

// An automation argument or result; cleared (strings freed, objects
// released) when it goes out of scope.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static void Integer(Variant& v, std::int32_t number) {
        v.value_.vt = VT_I4;
        v.value_.lVal = number;
    }
    static void Boolean(Variant& v, bool flag) {
        v.value_.vt = VT_BOOL;
        v.value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    }
    // False when the string cannot be allocated.
    static bool Text(Variant& v, const std::wstring& text) {
        BSTR string = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (string == nullptr) return false;
        v.value_.vt = VT_BSTR;
        v.value_.bstrVal = string;
        return true;
    }

    VARIANT* get() { return &value_; }

    // The object a call returned, now owned by the caller.
    Dispatch TakeObject() {
        if (value_.vt != VT_DISPATCH || value_.pdispVal == nullptr) return Dispatch();
        Dispatch object(value_.pdispVal);
        value_.vt = VT_EMPTY;
        value_.pdispVal = nullptr;
        return object;
    }

private:
    VARIANT value_;
};

// UTF-8 to UTF-16; an empty text when the bytes are not UTF-8.
std::wstring Wide(const char* utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, text.data(), length);
    text.resize(static_cast<std::size_t>(length - 1));
    return text;
}

// The decimal separator of the user's regional settings (the spreadsheet
// reads a cell's text back as a number in that locale).
std::wstring DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return L".";
    return separator;
}

// The text of a value as the cell receives it.
std::wstring CellText(double value, const std::wstring& separator) {
    const std::string text = NumberText(value);
    std::wstring wide;
    wide.reserve(text.size() + separator.size());
    for (const char c : text) {
        if (c == '.') {
            wide += separator;
        } else {
            wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
        }
    }
    return wide;
}

// One member access by name. `arguments` in the order the member takes them
// (Invoke wants them last first); a property write passes the new value as
// the one argument. Fills `result` when it is given.
bool Invoke(IDispatch* object, const wchar_t* member, WORD kind, Variant* const* arguments, UINT count,
            Variant* result) {
    std::wstring name(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;

    VARIANTARG reversed[2];
    if (count > 2) return false;
    for (UINT k = 0; k < count; ++k) reversed[k] = *arguments[count - 1 - k]->get();  // shallow: still owned there
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = count > 0 ? reversed : nullptr;
    parameters.cArgs = count;
    if (kind == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &putId;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                                      result != nullptr ? result->get() : nullptr, &exception, &argumentError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return SUCCEEDED(hr);
}

bool Put(IDispatch* object, const wchar_t* property, Variant& value) {
    Variant* arguments[] = {&value};
    return Invoke(object, property, DISPATCH_PROPERTYPUT, arguments, 1, nullptr);
}

Dispatch Get(IDispatch* object, const wchar_t* property) {
    Variant result;
    if (!Invoke(object, property, DISPATCH_PROPERTYGET, nullptr, 0, &result)) return Dispatch();
    return result.TakeObject();
}

// A method that returns an object, such as Item(1) or Item(row, column).
Dispatch Call(IDispatch* object, const wchar_t* method, Variant* const* arguments, UINT count) {
    Variant result;
    if (!Invoke(object, method, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments, count, &result)) return Dispatch();
    return result.TakeObject();
}

Dispatch Item(IDispatch* collection, std::int32_t index) {
    Variant argument;
    Variant::Integer(argument, index);
    Variant* arguments[] = {&argument};
    return Call(collection, L"Item", arguments, 1);
}

// Balances a successful CoInitializeEx of this call.
class ComApartment {
public:
    ComApartment() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // S_OK and S_FALSE both count; RPC_E_CHANGED_MODE: the thread is in a
        // multithreaded apartment already, which serves as well.
        initialised_ = SUCCEEDED(hr);
        usable_ = initialised_ || hr == RPC_E_CHANGED_MODE;
    }
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool usable() const { return usable_; }

private:
    bool initialised_ = false;
    bool usable_ = false;
};

bool Converse(const double* const* table, std::int32_t rows, std::int32_t columns) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) return false;
    IDispatch* created = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&created))) ||
        created == nullptr) {
        return false;
    }
    const Dispatch application(created);

    Variant visible;
    Variant::Boolean(visible, true);
    if (!Put(application.get(), L"Visible", visible)) return false;

    const Dispatch workbooks = Get(application.get(), L"Workbooks");
    if (!workbooks) return false;
    {
        Variant added;  // the new workbook; reached below through Item(1)
        if (!Invoke(workbooks.get(), L"Add", DISPATCH_METHOD, nullptr, 0, &added)) return false;
    }
    const Dispatch workbook = Item(workbooks.get(), 1);
    if (!workbook) return false;
    const Dispatch worksheets = Get(workbook.get(), L"Worksheets");
    if (!worksheets) return false;
    const Dispatch sheet = Item(worksheets.get(), 1);
    if (!sheet) return false;
    {
        const Dispatch named = Item(worksheets.get(), 1);
        if (!named) return false;
        Variant name;
        if (!Variant::Text(name, Wide(spreadsheet::kSheetName))) return false;
        if (!Put(named.get(), L"Name", name)) return false;
    }

    const std::wstring separator = DecimalSeparator();
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < columns; ++j) {
            Variant text;
            if (!Variant::Text(text, CellText(table[i][j], separator))) return false;
            const Dispatch cells = Get(sheet.get(), L"Cells");
            if (!cells) return false;
            Variant row;
            Variant column;
            Variant::Integer(row, i + 1);
            Variant::Integer(column, j + 1);
            Variant* position[] = {&row, &column};
            const Dispatch cell = Call(cells.get(), L"Item", position, 2);
            if (!cell) return false;
            if (!Put(cell.get(), L"Value", text)) return false;
        }
    }
    return true;  // the application stays open with the new workbook
}

}  // namespace

bool AutomateSpreadsheet(const double* const* table, std::int32_t rows, std::int32_t columns) {
    if (rows < 0 || columns < 0 || (table == nullptr && rows > 0)) return false;
    for (std::int32_t i = 0; i < rows; ++i) {
        if (table[i] == nullptr) return false;
    }
    const ComApartment apartment;
    if (!apartment.usable()) return false;
    return Converse(table, rows, columns);
}

}  // namespace zentrik

#endif  // _WIN32
