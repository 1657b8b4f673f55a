// The program inside every test image. Only its resources matter: the tests read the images as
// files and never start them.
int main() { return 0; }
