#pragma once

#include "dspfolder.h"
#include "schemefolders.h"
#include "vformfolder.h"

// The structure folders by kind. Kinds with designers of their own (tables,
// database objects, forms, schemes, wizard scenarios, the scheduler) list their
// structures here with the common folder actions until those designers come.

// A folder of the structures of one type; new structures get that type.
#define PELVAR_DSP_TYPE_FOLDER(Class, Type, DefaultType)                                          \
    class Class : public TDODSPFolder {                                                           \
      public:                                                                                     \
        PELVAR_OBJECT_CREATE(Class)                                                               \
        QString GetCaption() override;                                                            \
        bool IsObjectTypeAccepted(int ObjectType) const override { return ObjectType == (Type); } \
        int GetDefaultObjectType() const override { return (DefaultType); }                       \
    }

PELVAR_DSP_TYPE_FOLDER(TDOTableStructures, 10, 10);
PELVAR_DSP_TYPE_FOLDER(TDOParamStructures, 14, 14);
PELVAR_DSP_TYPE_FOLDER(TDOUserProfileStructures, 18, 0);
PELVAR_DSP_TYPE_FOLDER(TDORoleStructures, 19, 0);
PELVAR_DSP_TYPE_FOLDER(TDOPrivilegeStructures, 20, 0);
PELVAR_DSP_TYPE_FOLDER(TDOUserInfoStructures, 21, 0);
PELVAR_DSP_TYPE_FOLDER(TDOInternetStructures1, 65, 65);
PELVAR_DSP_TYPE_FOLDER(TDOInternetStructures2, 66, 66);
PELVAR_DSP_TYPE_FOLDER(TDOGeneratorStructures, 71, 71);
PELVAR_DSP_TYPE_FOLDER(TDOViewStructures, 72, 72);
PELVAR_DSP_TYPE_FOLDER(TDOExecStoredProcStructures, 73, 73);
PELVAR_DSP_TYPE_FOLDER(TDOSelectStoredProcStructures, 74, 74);
PELVAR_DSP_TYPE_FOLDER(TDOPatternStructures, 75, 75);

#undef PELVAR_DSP_TYPE_FOLDER

// "All": every structure of the database, with a column for the type.
class TDOAllStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOAllStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int) const override { return true; }
    bool IsDSPContainerAccepted(const QString&) const override { return true; }
    bool IsEIFolderAccepted(const TPelvarObject& EIFolder) override;
    void CreateColumns(TListColumns& Columns) override;
};

// "Unknown": structures of every type no folder is made for.
class TDOUnknownStructures : public TDODSPFolder {
  public:
    PELVAR_OBJECT_CREATE(TDOUnknownStructures)
    QString GetCaption() override;
    bool IsObjectTypeAccepted(int ObjectType) const override;
};
