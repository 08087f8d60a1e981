#include "app/QuarnApp.h"

wxIMPLEMENT_APP(CQuarnApp);
