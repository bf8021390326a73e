int quorvix_placeholder(void) { return 0; }
