// The portable part of the platform layer, in one include.
#pragma once

#include "AfxTypes.h"
#include "AfxExceptions.h"
#include "AfxString.h"
#include "AfxPtrList.h"
#include "AfxMapStringToPtr.h"
#include "AfxFile.h"
#include "AfxMemFile.h"
#include "AfxArchive.h"
#include "TextClasses.h"
#include "Win32Kernel.h"
#include "AfxExtensionModule.h"
