// Run-time class information: the class name and the base-class chain, so that code can ask
// whether an object is of a given class (IsKindOf) without RTTI.
#pragma once

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;  // null for the root class

    // True if this class is pBase or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* pBase) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// In the class body: public static class info plus the GetRuntimeClass override.
#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

// In the .cpp file.
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                         \
    const CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class_name)), \
                                                         RUNTIME_CLASS(base_class_name)};      \
    const CRuntimeClass* class_name::GetRuntimeClass() const {                                 \
        return RUNTIME_CLASS(class_name);                                                      \
    }
