extern "C" int OPEN_placeholder() { return 0; }
