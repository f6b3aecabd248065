#include "platform/registry/Registry.h"

#include "platform/registry/RegistryFile.h"
#include "platform/registry/RegistryHandles.h"
#include "platform/registry/RegistryNames.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

namespace {

constexpr DWORD kDwordBytes = sizeof(DWORD);

// Checks the handle and the subkey and gives the full path of the key asked for.
LSTATUS SubKeyPath(HKEY parent, const char* subKey, HKEY* result, std::string& path) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    const auto parentPath = RegistryHandles::Instance().PathOf(parent);
    if (!parentPath) {
        return ERROR_INVALID_HANDLE;
    }
    const auto joined = JoinKeyPath(*parentPath, subKey == nullptr ? "" : subKey);
    if (!joined) {
        return ERROR_INVALID_PARAMETER;
    }
    path = *joined;
    return ERROR_SUCCESS;
}

bool IsRoot(const std::string& path) {
    return RegistryNamesEqual(path, kLocalMachineName);
}

} // namespace

LSTATUS RegOpenKeyEx(HKEY parent, const char* subKey, HKEY* result) {
    std::string path;
    if (const LSTATUS status = SubKeyPath(parent, subKey, result, path); status != ERROR_SUCCESS) {
        return status;
    }
    if (!IsRoot(path) && !RegistryFile::FromEnvironment().Read().HasKey(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = RegistryHandles::Instance().Open(path);
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyEx(HKEY parent, const char* subKey, HKEY* result) {
    std::string path;
    if (const LSTATUS status = SubKeyPath(parent, subKey, result, path); status != ERROR_SUCCESS) {
        return status;
    }
    const RegistryFile file = RegistryFile::FromEnvironment();
    if (!IsRoot(path) && !file.Read().HasKey(path)) {
        const LSTATUS status =
            file.Update([&path](RegistryDocument& document) { return document.AddKey(path); });
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    *result = RegistryHandles::Instance().Open(path);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, void* data,
                        DWORD* dataBytes) {
    const auto path = RegistryHandles::Instance().PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    if (data != nullptr && dataBytes == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const RegistryDocument document = RegistryFile::FromEnvironment().Read();
    const std::string_view name = valueName == nullptr ? "" : valueName;
    const auto number = document.Value(*path, name);
    const auto text = document.TextValue(*path, name);
    if (!number && !text) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = text ? REG_SZ : REG_DWORD;
    }
    if (dataBytes == nullptr) {
        return ERROR_SUCCESS;
    }
    const DWORD room = *dataBytes;
    const DWORD size = text ? static_cast<DWORD>(text->size() + 1) : kDwordBytes;
    *dataBytes = size;
    if (data == nullptr) {
        return ERROR_SUCCESS;
    }
    if (room < size) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, text ? static_cast<const void*>(text->c_str()) : &*number, size);
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueEx(HKEY key, const char* valueName, DWORD type, const void* data,
                      DWORD dataBytes) {
    const auto path = RegistryHandles::Instance().PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    if (data == nullptr || valueName == nullptr || !IsStorableValueName(valueName) ||
        IsRoot(*path)) {
        return ERROR_INVALID_PARAMETER;
    }
    const RegistryFile file = RegistryFile::FromEnvironment();
    if (type == REG_SZ) {
        const std::string_view text(static_cast<const char*>(data), dataBytes);
        if (text.empty() || text.find('\0') != text.size() - 1 ||
            text.find('\n') != std::string_view::npos) {
            return ERROR_INVALID_PARAMETER;
        }
        return file.Update([&](RegistryDocument& document) {
            return document.SetTextValue(*path, valueName, text.substr(0, text.size() - 1));
        });
    }
    if (type != REG_DWORD || dataBytes != kDwordBytes) {
        return ERROR_INVALID_PARAMETER;
    }
    DWORD value = 0;
    std::memcpy(&value, data, kDwordBytes);
    return file.Update(
        [&](RegistryDocument& document) { return document.SetValue(*path, valueName, value); });
}

LSTATUS RegDeleteValue(HKEY key, const char* valueName) {
    const auto path = RegistryHandles::Instance().PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    const std::string_view name = valueName == nullptr ? "" : valueName;
    bool removed = false;
    const LSTATUS status = RegistryFile::FromEnvironment().Update([&](RegistryDocument& document) {
        removed = document.DeleteValue(*path, name);
        return removed;
    });
    return status == ERROR_SUCCESS && !removed ? ERROR_FILE_NOT_FOUND : status;
}

LSTATUS RegQueryDwordValues(HKEY key, std::span<RegistryDword> values) {
    const auto path = RegistryHandles::Instance().PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    const RegistryDocument document = RegistryFile::FromEnvironment().Read();
    for (RegistryDword& named : values) {
        const auto value = document.Value(*path, named.name == nullptr ? "" : named.name);
        named.found = value.has_value();
        named.value = value.value_or(0);
    }
    return ERROR_SUCCESS;
}

LSTATUS RegSetDwordValues(HKEY key, std::span<const RegistryDword> values) {
    const auto path = RegistryHandles::Instance().PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    for (const RegistryDword& named : values) {
        if (named.name == nullptr || !IsStorableValueName(named.name) || IsRoot(*path)) {
            return ERROR_INVALID_PARAMETER;
        }
    }
    return RegistryFile::FromEnvironment().Update([&](RegistryDocument& document) {
        bool changed = false;
        for (const RegistryDword& named : values) {
            changed = document.SetValue(*path, named.name, named.value) || changed;
        }
        return changed;
    });
}

LSTATUS RegCloseKey(HKEY key) {
    return RegistryHandles::Instance().Close(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // namespace platform
