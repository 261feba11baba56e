/* The provider's OCSP viewer, standing in: only its version resource is read. */
int main(void) { return 0; }
