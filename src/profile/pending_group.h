#pragma once
// Which settings an apply must send to the mouse. A change marks its group;
// the apply that follows sends every marked group once.
enum class PendingGroup { Keys, DpiAndMore, Power, Wake, Windows };
