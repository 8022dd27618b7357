#include "CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

bool CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}
