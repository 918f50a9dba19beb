var accept='0';
var stencil_count='0';
