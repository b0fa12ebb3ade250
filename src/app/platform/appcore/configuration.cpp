#include "configuration.h"

#include "basekit/registry.h"

QString TConfiguration::GetRegistryKey() const {
    return RegistryBaseKey();
}
