#include "ZOLUIApp.h"

IMPLEMENT_DYNAMIC(CZOLUIApp, CWinApp)

CZOLUIApp::CZOLUIApp() = default;

CZOLUIApp::~CZOLUIApp() = default;
