#pragma once
#include "platform/Registry.h"

namespace vedozer {

// The live registry through the ANSI registry functions.
class Win32Registry : public Registry {
public:
    RegStatus openKey(RootKey root, const std::string& path, uint32_t accessMask) override;
    std::optional<RegistryValue> queryValue(RootKey root, const std::string& path,
                                            const std::string& name) override;
    std::vector<std::string> subKeys(RootKey root, const std::string& path) override;
    std::vector<NamedValue> values(RootKey root, const std::string& path) override;
    // The same reads telling "not there" (NotFound) from "could not be read" (AccessDenied or
    // Error, said in lastProblem()).
    RegStatus readValue(RootKey root, const std::string& path, const std::string& name, RegistryValue& out) override;
    RegStatus listSubKeys(RootKey root, const std::string& path, std::vector<std::string>& out) override;
    RegStatus listValues(RootKey root, const std::string& path, std::vector<NamedValue>& out) override;
    std::string lastProblem() const override { return m_lastProblem; }

    RegStatus createKey(RootKey root, const std::string& path) override;
    RegStatus setValue(RootKey root, const std::string& path, const std::string& name,
                       const RegistryValue& value) override;
    RegStatus deleteValue(RootKey root, const std::string& path, const std::string& name) override;
    RegStatus deleteKeyTree(RootKey root, const std::string& path) override;

private:
    RegStatus failed(long rc, RootKey root, const std::string& path, const std::string& what);
    std::string m_lastProblem;
};

}  // namespace vedozer
