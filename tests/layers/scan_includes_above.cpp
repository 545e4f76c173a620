// The scan module cannot reach the session above it (nor a backend beside it).
#include "app/Session.h"
