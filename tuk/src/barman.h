// Barman: the figure behind the bar who takes the customers' orders from the
// waitress; the level has at most one.
#pragma once

#include <zep2/refcount.h>

class Barman : public Zep::RefCountedObject {};
