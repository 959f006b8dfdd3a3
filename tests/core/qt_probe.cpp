// Built only by the layering test, which expects this include to fail.
#include <QtCore/QString>
