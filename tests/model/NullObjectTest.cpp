// Calls that the model defines through a null object pointer. These run in
// every build type, optimised ones included, which is where a compiler would
// otherwise drop the checks.
#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

namespace
{
// The pointer comes from outside the compiler's sight, as a caller's would.
template <class T>
T* Opaque(T* p)
{
    T* volatile hidden = p;
    return hidden;
}

__attribute__((no_sanitize("null", "vptr"))) int NullIsNamed() { return Opaque<CZOLLibXMLNode>(nullptr)->IsNamed(u"x"); }
__attribute__((no_sanitize("null", "vptr"))) CZOLLibXMLElement* NullFirstElement() { return Opaque<CZOLLibXMLElement>(nullptr)->GetFirstElement(); }
__attribute__((no_sanitize("null", "vptr"))) void NullDelete() { Opaque<CZOLLibXMLNode>(nullptr)->Delete(); }
__attribute__((no_sanitize("null", "vptr"))) int NullElementEquals(const CZOLLibXMLElement* other)
{
    return Opaque<CZOLLibXMLElement>(nullptr)->Equals(other);
}
__attribute__((no_sanitize("null", "vptr"))) int NullAttributeEquals(const CZOLLibXMLAttribute* other)
{
    return Opaque<CZOLLibXMLAttribute>(nullptr)->Equals(other);
}
}

TEST(NullObject, CallsAnswerWithoutTouchingMemory)
{
    CZOLLibXMLElement e(nullptr, u"x");
    CZOLLibXMLAttribute a(nullptr, u"x");
    EXPECT_EQ(0, NullIsNamed());
    EXPECT_EQ(nullptr, NullFirstElement());
    NullDelete();
    EXPECT_EQ(0, NullElementEquals(&e));
    EXPECT_EQ(0, NullElementEquals(nullptr));
    EXPECT_EQ(0, NullAttributeEquals(&a));
}
